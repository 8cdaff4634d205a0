#pragma once

#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <array>
#include <functional>
#include <span>

class QAudioOutput;
class QMediaPlayer;
class QToolButton;
class QVideoWidget;

namespace quorvane::ui {

// The media player control of the preview pane: a bar of six buttons over Qt Multimedia, with the
// video picture drawn in a display area. The program sets which buttons are enabled; the player
// never does. Each button first tells its click (the program's rule runs) and then does its own
// action. Time values are milliseconds.
class MediaPlayer : public QWidget
{
    Q_OBJECT

public:
    enum class Button
    {
        Play,
        Pause,
        Stop,
        Prev,
        Step,
        Back,
    };
    enum class Mode
    {
        NotReady,
        Stopped,
        Playing,
        Recording,
        Seeking,
        Paused,
        Open,
    };

    // reportError shows the failure of a button's action (no media open, for example).
    MediaPlayer(QWidget* displayArea, std::function<void(const QString&)> reportError, QWidget* parent);
    ~MediaPlayer() override;

    // The full path of the media to open.
    QString FileName;

    // Opens FileName, closing any open media first. False when the backend refuses it at once;
    // a failure it finds while loading, or a load that does not end within loadLimit, is told
    // later by openFailed.
    bool open();
    // Ends playback and releases the file; nothing when no media is open.
    void close();
    bool isOpen() const { return open_; }
    bool hasVideo() const;
    // Where the video picture is drawn in the display area, scaled to exactly this rectangle.
    void setDisplayRect(const QRect& rect);
    qint64 position() const;
    qint64 length() const;
    Mode mode() const;

    // The buttons' actions. Each throws std::runtime_error "MCI デバイスがありません" (in the
    // language shown) when no media is open.
    void play();
    void pause(); // a pause while paused resumes
    void stop();
    void seekToStart();
    void step(); // one frame forward; nothing for media without a picture
    void back(); // one frame back; nothing for media without a picture

    void setEnabledButtons(std::span<const Button> buttons);
    bool isButtonEnabled(Button button) const;
    QToolButton* button(Button button) const;
    // Presses a button as the user does: the click handler, then the button's action (only when
    // it is enabled). A failure of either is shown by reportError.
    void press(Button button);
    // The program's rule for a pressed button, run before the button's own action.
    std::function<void(Button)> clickHandler;

    static constexpr int loadLimit = 5000; // milliseconds
    static constexpr std::array<Button, 4> stoppedSet{Button::Play, Button::Prev, Button::Step, Button::Back};
    static constexpr std::array<Button, 2> playingSet{Button::Pause, Button::Stop};

Q_SIGNALS:
    // Playback ended or was interrupted (paused, stopped, closed or replaced).
    void notify();
    // The open media turned out to be unplayable while it loaded.
    void openFailed();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The buttons' tool tips in the language shown.
    void retranslateUi();
    void createBackend();
    void requireOpen() const;
    void frameStep(int frames);
    qint64 frameDuration() const;
    void onButton(Button button);

    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    QVideoWidget* video_ = nullptr;
    QWidget* displayArea_ = nullptr;
    QTimer loadTimeout_;
    std::array<QToolButton*, 6> buttons_{};
    std::function<void(const QString&)> reportError_;
    QRect displayRect_;
    bool open_ = false;
    bool wasPlaying_ = false;
    qint64 lastFrameDuration_ = 0; // of the last video frame shown, in milliseconds
};

} // namespace quorvane::ui
