#include "view_choice.h"

#include "formatters.h"
#include "screen_image.h"

namespace {

// A count as the formatters take it. Negative values (no number in the cell)
// read as 0; values above 64K are left for the formatters to refuse.
quint32 ByteCount(qint64 value)
{
    if (value < 0)
        return 0;
    if (value > static_cast<qint64>(kMaxViewBytes))
        return kMaxViewBytes + 1;
    return static_cast<quint32>(value);
}

bool IsBytesOrHeaderless(const QString& typeName)
{
    return typeName == QLatin1String("Bytes") || typeName == QLatin1String(kHeaderlessTypeName);
}

ViewFormat AutomaticFormat(const QString& typeName, qint64 realSize)
{
    if (typeName == QLatin1String("Program"))
        return ViewFormat::Basic;
    if (typeName == QLatin1String("Number Array") || typeName == QLatin1String("Character Array"))
        return ViewFormat::List;
    if (IsBytesOrHeaderless(typeName))
        return realSize == kScreenSize ? ViewFormat::Picture : ViewFormat::HexDump;
    return ViewFormat::None;
}

}  // namespace

ViewChoice ChooseView(ViewMode mode, const QString& typeName, qint64 realSize, qint64 vars)
{
    ViewChoice choice;
    if (realSize > static_cast<qint64>(kMaxViewBytes)) {
        choice.refusal = QStringLiteral("File too big (>64K).");
        return choice;
    }
    switch (mode) {
    case ViewMode::Automatic: choice.format = AutomaticFormat(typeName, realSize); break;
    case ViewMode::Basic:
        if (typeName != QLatin1String("Program")) {
            choice.refusal = QStringLiteral("This file cannot be viewed as BASIC.");
            return choice;
        }
        choice.format = ViewFormat::Basic;
        break;
    case ViewMode::HexDump: choice.format = ViewFormat::HexDump; break;
    case ViewMode::Text: choice.format = ViewFormat::Text; break;
    case ViewMode::List: choice.format = ViewFormat::List; break;
    case ViewMode::Data: choice.format = ViewFormat::Data; break;
    case ViewMode::Picture:
        if (!OffersPicture(typeName, realSize)) {
            choice.refusal = QStringLiteral("This file cannot be viewed as a picture.");
            return choice;
        }
        choice.format = ViewFormat::Picture;
        break;
    }
    if (choice.format != ViewFormat::None)
        choice.count = ByteCount(choice.format == ViewFormat::Basic ? vars : realSize);
    return choice;
}

bool OffersPicture(const QString& typeName, qint64 realSize)
{
    return IsBytesOrHeaderless(typeName) && (realSize == kScreenSize || realSize == kScreenBitmapSize);
}

QByteArrayList RenderView(const ViewChoice& choice, const QString& path, const QString& typeName)
{
    switch (choice.format) {
    case ViewFormat::None: return {};
    case ViewFormat::Basic: return FormatBasic(path, choice.count);
    case ViewFormat::HexDump: return FormatHexDump(path, typeName, choice.count);
    case ViewFormat::Text: return FormatText(path, typeName, choice.count);
    case ViewFormat::List: return FormatList(path, typeName, choice.count);
    case ViewFormat::Data: return FormatData(path, typeName, choice.count);
    case ViewFormat::Picture: return FormatHexDump(path, typeName, choice.count);
    }
    return {};
}

QByteArray ReadPicture(const ViewChoice& choice, const QString& path, const QString& typeName)
{
    return ReadViewData(path, HasPlus3DosHeader(typeName), choice.count);
}
