#include "MediaPlayer.h"

#include <QAudioOutput>
#include <QEvent>
#include <QHBoxLayout>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QStyle>
#include <QToolButton>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <algorithm>
#include <stdexcept>

namespace quorvane::ui {

namespace {

constexpr qint64 defaultFrameDuration = 40; // 25 frames a second, when the media does not say

struct ButtonLook
{
    const char* name;
    QStyle::StandardPixmap icon;
    const char* tip;
};

constexpr ButtonLook looks[6] = {
    {"Play", QStyle::SP_MediaPlay, QT_TRANSLATE_NOOP("quorvane::ui::MediaPlayer", "再生")},
    {"Pause", QStyle::SP_MediaPause, QT_TRANSLATE_NOOP("quorvane::ui::MediaPlayer", "一時停止")},
    {"Stop", QStyle::SP_MediaStop, QT_TRANSLATE_NOOP("quorvane::ui::MediaPlayer", "停止")},
    {"Prev", QStyle::SP_MediaSkipBackward, QT_TRANSLATE_NOOP("quorvane::ui::MediaPlayer", "先頭へ")},
    {"Step", QStyle::SP_MediaSeekForward, QT_TRANSLATE_NOOP("quorvane::ui::MediaPlayer", "コマ送り")},
    {"Back", QStyle::SP_MediaSeekBackward, QT_TRANSLATE_NOOP("quorvane::ui::MediaPlayer", "コマ戻し")},
};

} // namespace

MediaPlayer::MediaPlayer(QWidget* displayArea, std::function<void(const QString&)> reportError,
                         QWidget* parent)
    : QWidget(parent), reportError_(std::move(reportError))
{
    setObjectName(QStringLiteral("mdi_Player"));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(169, 20);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("mdi_Player_") + QLatin1String(looks[i].name));
        button->setIcon(style()->standardIcon(looks[i].icon));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        row->addWidget(button);
        buttons_[i] = button;
        const auto which = static_cast<Button>(i);
        connect(button, &QToolButton::clicked, this, [this, which] { press(which); });
    }
    retranslateUi();
    setEnabledButtons(stoppedSet);
    hide();
    displayArea_ = displayArea;
    loadTimeout_.setSingleShot(true);
    loadTimeout_.setInterval(loadLimit);
    connect(&loadTimeout_, &QTimer::timeout, this, [this] {
        if (open_ && player_->mediaStatus() == QMediaPlayer::LoadingMedia) {
            Q_EMIT openFailed();
        }
    });
}

void MediaPlayer::retranslateUi()
{
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setToolTip(tr(looks[i].tip));
    }
}

void MediaPlayer::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
    }
    QWidget::changeEvent(event);
}

void MediaPlayer::createBackend()
{
    // The backend starts with the first media opened, so a window that never plays media never
    // pays for it.
    if (player_ != nullptr) {
        return;
    }
    player_ = new QMediaPlayer(this);
    audio_ = new QAudioOutput(this);
    player_->setAudioOutput(audio_);
    video_ = new QVideoWidget(displayArea_);
    video_->setObjectName(QStringLiteral("mdi_PlayerDisplay"));
    video_->setAspectRatioMode(Qt::IgnoreAspectRatio);
    video_->hide();
    player_->setVideoOutput(video_);

    // The frames tell their own duration, which the media's frame rate may not.
    connect(video_->videoSink(), &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        if (frame.startTime() >= 0 && frame.endTime() > frame.startTime()) {
            lastFrameDuration_ = (frame.endTime() - frame.startTime() + 500) / 1000;
        }
    });
    connect(player_, &QMediaPlayer::hasVideoChanged, this,
            [this](bool video) { video_->setVisible(open_ && video && displayRect_.isValid()); });
    connect(player_, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        const bool playing = state == QMediaPlayer::PlayingState;
        if (wasPlaying_ && !playing) {
            wasPlaying_ = false;
            Q_EMIT notify();
        }
        wasPlaying_ = playing;
    });
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (open_ && error != QMediaPlayer::NoError && player_->mediaStatus() == QMediaPlayer::InvalidMedia) {
            Q_EMIT openFailed();
        }
    });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status != QMediaPlayer::LoadingMedia) {
            loadTimeout_.stop();
        }
        if (open_ && status == QMediaPlayer::InvalidMedia) {
            Q_EMIT openFailed();
        }
    });
}

MediaPlayer::~MediaPlayer()
{
    // The media is released before the outputs it plays into go away.
    open_ = false;
    if (player_ != nullptr) {
        player_->disconnect(this);
        player_->setSource(QUrl());
    }
}

bool MediaPlayer::open()
{
    close();
    createBackend();
    open_ = true;
    displayRect_ = QRect();
    wasPlaying_ = false;
    lastFrameDuration_ = 0;
    player_->setSource(QUrl::fromLocalFile(FileName));
    loadTimeout_.start();
    if (player_->error() != QMediaPlayer::NoError || player_->mediaStatus() == QMediaPlayer::InvalidMedia) {
        close();
        return false;
    }
    return true;
}

void MediaPlayer::close()
{
    if (!open_) {
        return;
    }
    open_ = false;
    loadTimeout_.stop();
    video_->hide();
    player_->setSource(QUrl());
}

bool MediaPlayer::hasVideo() const
{
    return open_ && player_->hasVideo();
}

void MediaPlayer::setDisplayRect(const QRect& rect)
{
    displayRect_ = rect;
    if (video_ != nullptr) {
        video_->setGeometry(rect);
        video_->setVisible(hasVideo());
    }
}

qint64 MediaPlayer::position() const
{
    requireOpen();
    return player_->position();
}

qint64 MediaPlayer::length() const
{
    requireOpen();
    return player_->duration();
}

MediaPlayer::Mode MediaPlayer::mode() const
{
    if (!open_) {
        return Mode::NotReady;
    }
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState:
        return Mode::Playing;
    case QMediaPlayer::PausedState:
        return Mode::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return Mode::Stopped;
}

void MediaPlayer::requireOpen() const
{
    if (!open_) {
        throw std::runtime_error(tr("MCI デバイスがありません").toStdString());
    }
}

void MediaPlayer::play()
{
    requireOpen();
    if (player_->mediaStatus() == QMediaPlayer::EndOfMedia) {
        player_->setPosition(0);
    }
    player_->play();
}

void MediaPlayer::pause()
{
    requireOpen();
    if (player_->playbackState() == QMediaPlayer::PausedState) {
        player_->play();
    } else {
        player_->pause();
    }
}

void MediaPlayer::stop()
{
    requireOpen();
    player_->stop();
}

void MediaPlayer::seekToStart()
{
    requireOpen();
    player_->setPosition(0);
}

void MediaPlayer::step()
{
    frameStep(1);
}

void MediaPlayer::back()
{
    frameStep(-1);
}

qint64 MediaPlayer::frameDuration() const
{
    if (lastFrameDuration_ > 0) {
        return lastFrameDuration_;
    }
    double rate = player_->metaData().value(QMediaMetaData::VideoFrameRate).toDouble();
    const int track = player_->activeVideoTrack();
    const QList<QMediaMetaData> tracks = player_->videoTracks();
    if (rate <= 0 && track >= 0 && track < tracks.size()) {
        rate = tracks[track].value(QMediaMetaData::VideoFrameRate).toDouble();
    }
    if (rate <= 0 || rate > 1000) {
        return defaultFrameDuration;
    }
    return std::max<qint64>(1, static_cast<qint64>(1000.0 / rate + 0.5));
}

void MediaPlayer::frameStep(int frames)
{
    requireOpen();
    if (!player_->hasVideo()) {
        return;
    }
    const qint64 target = player_->position() + frames * frameDuration();
    player_->setPosition(std::clamp<qint64>(target, 0, std::max<qint64>(0, player_->duration())));
}

void MediaPlayer::setEnabledButtons(std::span<const Button> enabled)
{
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setEnabled(std::find(enabled.begin(), enabled.end(), static_cast<Button>(i)) !=
                                enabled.end());
    }
}

bool MediaPlayer::isButtonEnabled(Button which) const
{
    return button(which)->isEnabled();
}

QToolButton* MediaPlayer::button(Button which) const
{
    return buttons_[static_cast<std::size_t>(which)];
}

void MediaPlayer::press(Button which)
{
    if (!isButtonEnabled(which)) {
        return;
    }
    try {
        if (clickHandler) {
            clickHandler(which);
        }
        onButton(which);
    } catch (const std::exception& error) {
        reportError_(QString::fromUtf8(error.what()));
    }
}

void MediaPlayer::onButton(Button which)
{
    switch (which) {
    case Button::Play:
        play();
        break;
    case Button::Pause:
        pause();
        break;
    case Button::Stop:
        stop();
        break;
    case Button::Prev:
        seekToStart();
        break;
    case Button::Step:
        step();
        break;
    case Button::Back:
        back();
        break;
    }
}

} // namespace quorvane::ui
