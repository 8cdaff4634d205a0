#pragma once

#include "MediaPlayer.h"
#include "PreviewPicture.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QStatusBar;

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::ui {

// The position display's text for a position and a length in milliseconds: minutes, seconds and
// tenths, as "00:5:3 / 00:42:7" for media up to 60 seconds long and "1:15:3 / 3:5:0" for longer.
QString positionText(qint64 position, qint64 length);

// The image area of the preview pane: draws its picture stretched and centred, or an icon at its
// own size, and nothing while the picture is empty.
class PreviewImage : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewImage(QWidget* parent);

    void setPicture(PreviewPicture picture);
    void clear();
    bool isEmpty() const { return !picture_.has_value(); }
    // The picture's own size; empty when there is none.
    QSize pictureSize() const;

Q_SIGNALS:
    // The texts were worded again in the language shown.
    void languageChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();

    std::optional<PreviewPicture> picture_;
};

// The preview pane's contents: the image, the media player with its bar, and the position timer
// that draws over status panel 2. The window decides when the pane is shown; this shows files.
class PreviewPane : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QWidget* pane = nullptr;         // pnl_Preview
        QStatusBar* statusBar = nullptr; // sta_StatusBar
        QLabel* sizePanel = nullptr;     // status panel 2
        QCheckBox* autoPlay = nullptr;   // chk_Set_AutoPlay
        const bool* previewOn = nullptr; // the window's PreviewOn
    };

    PreviewPane(const Controls& controls, platform::FileSystem& fileSystem,
                std::function<void(const QString&)> reportError, QObject* parent);

    PreviewImage* img_Preview = nullptr;
    MediaPlayer* mdi_Player = nullptr;
    QTimer tim_Timer;

    // Empties the pane: closes the player, hides its bar, stops the timer, clears the picture and
    // status panel 2.
    void empty();
    // Shows the file at path (after empty()): an image with its size in status panel 2, media in
    // the player, nothing for a file of no kind. A file that cannot be read throws
    // std::system_error with the system's text; one that is no valid image of its kind leaves the
    // pane empty.
    void showFile(const std::string& path);
    // The close operation the runs call before they touch files.
    void closePlayer();
    // The last picture of an image conversion as a bitmap file; nothing clears the picture.
    void showBitmapFile(const std::optional<std::string>& bitmapFile);

    // Opening a media file: the player's steps, the bar placed and shown, the timer started, and
    // playback at once when auto-play is on. A file the backend cannot open leaves the pane empty.
    void openMedia(const QString& path);

    void mdi_PlayerClick(MediaPlayer::Button button);
    void mdi_PlayerNotify();
    void tim_TimerTimer();

    // The text the position display draws; empty while it draws nothing.
    QString positionDisplayText() const;
    bool positionDisplayShown() const;

private:
    void openingFailed();
    // Status panel 2's text for the image shown, in the language shown.
    void showPictureSize();

    Controls controls_;
    platform::FileSystem& fileSystem_;
    class PositionDisplay;
    PositionDisplay* display_ = nullptr;
    std::optional<QSize> shownSize_; // the size of the image that showFile showed
};

} // namespace quorvane::ui
