#pragma once

#include "screen_convert.h"

#include <QByteArray>
#include <QDialog>
#include <QImage>
#include <QString>

class CommandContext;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

// "Put picture as SCREEN$": a host picture (PNG, JPEG, GIF, BMP) made into
// screen memory (PictureToScreen) and stored as a Bytes file loading at
// 16384, with a +3DOS header.

inline constexpr quint16 kScreenLoadAddress = 16384;

// The file the tool stores with `put`: a 128-byte +3DOS header (Bytes,
// type 3, loading at 16384) and then the screen's bytes. The header is made
// here, so the data is never taken for a header of its own, whatever its
// first bytes are.
QByteArray ScreenFileBytes(const QByteArray& screen);

// The +3DOS name a picture is offered under: the base of its 8.3 short name
// with the extension SCR ("Loading Screen.png" gives "LOADIN~1.SCR").
QString ScreenFileName(const QString& hostPath);

// The host pictures the command reads, as a file dialog filter and as a test
// of a dropped file's name.
QString PictureFileFilter();
bool IsPictureFileName(const QString& path);
// A dropped file the picture put is offered for: a picture file name whose
// contents the picture reader takes.
bool LooksLikePicture(const QString& path);

// The dialog: a preview of the picture as the Spectrum shows it, how it is
// brought to 256 x 192, dithering, and the +3DOS name. OK is enabled while
// the name is one the tool writes.
class TFormPutPicture : public QDialog
{
    Q_OBJECT

public:
    TFormPutPicture(const QString& hostFile, const QImage& picture, QWidget* parent = nullptr);

    // The name typed, trimmed and in upper case.
    QString Name() const;
    ScreenConversionOptions Options() const;
    // The screen memory the preview shows (6912 bytes).
    const QByteArray& Screen() const { return m_screen; }

    QComboBox* FitBox() const { return m_fit; }
    QCheckBox* DitherBox() const { return m_dither; }
    QLineEdit* NameEdit() const { return m_name; }
    QLabel* Preview() const { return m_preview; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    void UpdatePreview();
    void UpdateOk();

    QImage m_picture;
    QByteArray m_screen;
    QLabel* m_preview;
    QComboBox* m_fit;
    QCheckBox* m_dither;
    QLineEdit* m_name;
    QLabel* m_problem;
    QDialogButtonBox* m_buttons;
};

// The command: asks for a picture (or takes `hostFile`, a dropped one),
// shows the dialog, asks what to do when the name is taken in the selected
// partition (NameConflicts: replace, skip, keep both; a read-only file is
// never replaced), stores the screen and lists the partition again. False
// when the user cancelled (the file dialog, the picture's dialog or the
// question) or the command could not start, so that a batch of dropped
// pictures stops there.
bool PutPictureAsScreen(CommandContext& ctx, const QString& hostFile = QString());
