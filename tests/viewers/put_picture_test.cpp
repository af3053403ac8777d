// "Put picture as SCREEN$..." through the main window with the real disk
// tool: the picture in, the file got back out.
#include "view_gui_fixture.h"

#include "drop_offers.h"
#include "put_picture.h"
#include "screen_convert.h"
#include "screen_image.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

using PutPictureTest = ViewGuiTest;

TEST(PutPictureNames, PicturesGetAScreenNameFromTheirShortName)
{
    const std::vector<std::pair<QString, QString>> cases{
        {"/p/title.png", "TITLE.SCR"}, {"/p/Loading Screen.jpeg", "LOADIN~1.SCR"},
        {"/p/noext", "NOEXT.SCR"},     {"/p/.hidden.gif", "HIDDEN.SCR"},
    };
    for (const auto& [host, name] : cases)
        EXPECT_EQ(ScreenFileName(host), name) << host.toStdString();
    EXPECT_TRUE(IsPictureFileName("/p/A.PNG"));
    EXPECT_TRUE(IsPictureFileName("/p/a.jpg"));
    EXPECT_FALSE(IsPictureFileName("/p/a.bas"));
}

TEST_F(PutPictureTest, AnAttributeCleanPictureIsStoredAsExactlyItsScreenAndNeverReplacedUnasked)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    makeForm();
    form->OpenMedium(image);
    form->SelectNode(treeNode("GAMES"));

    // Screen memory in the one form a picture converts to (see
    // PictureToScreen), drawn as a PNG.
    QByteArray mixed(kScreenSize, '\0');
    for (int i = 0; i < kScreenSize; ++i)
        mixed[i] = static_cast<char>(i < kScreenBitmapSize ? i * 37 + i / 91 : (i * 13) & 0x7F);
    const QByteArray screen = PictureToScreen(RenderScreen(mixed));
    const QString picture = path("Loading Screen.png");
    ASSERT_TRUE(RenderScreen(screen).save(picture));

    const auto accept = [&](const QByteArray& expected) {
        return [&, expected](QDialog& d) {
            auto& dialog = dynamic_cast<TFormPutPicture&>(d);
            EXPECT_EQ(dialog.Name(), "LOADIN~1.SCR");
            EXPECT_EQ(dialog.FitBox()->currentData().toInt(), static_cast<int>(PictureFit::Centre));
            EXPECT_EQ(dialog.Screen(), expected);
            dialog.DitherBox()->setChecked(true);  // no other colours to mix: the same bytes
            EXPECT_EQ(dialog.Screen(), expected);
            return int(QDialog::Accepted);
        };
    };
    const auto stored = [&] {
        const QString out = path("out");
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        runTool({image, "get", "GAMES:LOADIN~1.SCR", out + "/"});
        QFile file(out + "/LOADIN~1.SCR");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    prompts->answerOpenFiles({picture}).answerDialog(accept(screen));
    TriggerEntry(*form, "PutPictureAsScreen1");
    QByteArray file = stored();
    ASSERT_EQ(file.size(), 128 + kScreenSize);
    EXPECT_EQ(file.left(8), "PLUS3DOS");
    EXPECT_EQ(file[15], 3);                                                     // Bytes
    EXPECT_EQ(quint8(file[16]) | quint8(file[17]) << 8, kScreenSize);           // length
    EXPECT_EQ(quint8(file[18]) | quint8(file[19]) << 8, 16384);                 // load address
    EXPECT_EQ(file.mid(128), screen);
    const int row = columnTexts(0).indexOf("LOADIN~1.SCR");
    ASSERT_GE(row, 0);
    EXPECT_EQ(columnTexts(5)[row], "Bytes");

    // The name is taken: Skip keeps the file there, Keep both puts the new
    // one under the next free name, Replace replaces it.
    const QByteArray black(kScreenSize, '\0');
    ASSERT_TRUE(RenderScreen(black).save(picture));
    const QByteArray blackScreen = PictureToScreen(RenderScreen(black));
    for (const char* answer : {"Skip", "KeepBoth", "Replace"}) {
        prompts->answerOpenFiles({picture}).answerDialog(accept(blackScreen)).clickInDialog(answer);
        TriggerEntry(*form, "PutPictureAsScreen1");
        EXPECT_EQ(stored().mid(128), QString(answer) == "Replace" ? blackScreen : screen) << answer;
    }
    EXPECT_TRUE(columnTexts(0).contains("LOADIN~2.SCR")) << columnTexts(0).join(' ').toStdString();

    // A file that is no picture is refused before anything is asked.
    const QString bad = path("bad.png");
    QFile badFile(bad);
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write("not a picture");
    badFile.close();
    prompts->answerOpenFiles({bad});
    TriggerEntry(*form, "PutPictureAsScreen1");
    ASSERT_EQ(prompts->errors().size(), 1);
    EXPECT_TRUE(prompts->errors().first().contains("cannot be read as a picture"));
    EXPECT_TRUE(prompts->allAnswersUsed());
    EXPECT_TRUE(privateTempFiles().isEmpty());
}

TEST_F(PutPictureTest, ADroppedPictureIsPutAsAScreenWhenTheUserChoosesSo)
{
    const QString image = makeImage("disk.hdf", {"GAMES"});
    makeForm();
    form->OpenMedium(image);
    form->SelectNode(treeNode("GAMES"));
    const QByteArray screen = PictureToScreen(RenderScreen(QByteArray(kScreenSize, '\x5A')));
    const QString picture = path("title.gif");
    ASSERT_TRUE(RenderScreen(screen).save(picture, "GIF") || RenderScreen(screen).save(picture, "PNG"));
    const QString notPicture = path("notes.png");  // named as one, but no picture
    QFile notes(notPicture);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("just text");
    notes.close();
    EXPECT_TRUE(LooksLikePicture(picture));
    EXPECT_FALSE(LooksLikePicture(notPicture));

    QString asked;
    prompts
        ->answerDialog([&](QDialog& d) {
            auto& offer = dynamic_cast<TFormDropOffer&>(d);
            asked = offer.Question->text();
            offer.BtnTake->click();
            return d.result();
        })
        .answerDialog([&](QDialog& d) {
            EXPECT_EQ(dynamic_cast<TFormPutPicture&>(d).Screen(), screen);
            return int(QDialog::Accepted);
        })
        .answerDialog([](QDialog& d) {  // the plain put's copy dialog: OK
            d.findChild<QPushButton*>("BitBtn1")->click();
            return d.result();
        });
    form->PJCtrlDropFilesDropFiles({picture, notPicture});
    EXPECT_EQ(asked, "Put title.gif as a SCREEN$ (converted to screen memory) or as the file it is?");
    const QStringList names = columnTexts(0);
    const QStringList types = columnTexts(5);
    ASSERT_TRUE(names.contains("TITLE.SCR")) << names.join(' ').toStdString();
    EXPECT_EQ(types[names.indexOf("TITLE.SCR")], "Bytes");
    EXPECT_TRUE(names.contains("NOTES.PNG")) << "put as the file it is";
}

}  // namespace
