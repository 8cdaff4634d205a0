#include "PreviewPane.h"

#include "platform/ErrorCode.h"
#include "platform/FileSystem.h"
#include "ui/widgets/ReadableColours.h"

#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <stdexcept>

namespace quorvane::ui {

namespace {

constexpr QSize imageArea(162, 162);
constexpr QRect videoRect(2, 2, 162, 144);
// No valid image within the pixel limit needs a larger file; a larger one is not read at all.
constexpr qint64 maxImageFileBytes = qint64{512} << 20;

// Minutes, seconds and the tenth of a second of a time in milliseconds.
QString clockText(qint64 t, bool longForm)
{
    const qint64 seconds = t / 1000;
    const qint64 tenths = t % 1000 / 100;
    if (longForm) {
        return QStringLiteral("%1:%2:%3").arg(seconds / 60).arg(seconds % 60).arg(tenths);
    }
    return QStringLiteral("00:%1:%2").arg(seconds).arg(tenths);
}

} // namespace

QString positionText(qint64 position, qint64 length)
{
    const bool longForm = length / 1000 > 60;
    return clockText(position, longForm) + QStringLiteral(" / ") + clockText(length, longForm);
}

// --- The image area -------------------------------------------------------------------------------

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("img_Preview"));
    retranslateUi();
}

void PreviewImage::retranslateUi()
{
    setToolTip(tr("イメージプレビュー"));
    setStatusTip(toolTip());
}

void PreviewImage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        Q_EMIT languageChanged();
    }
    QWidget::changeEvent(event);
}

void PreviewImage::setPicture(PreviewPicture picture)
{
    picture_ = std::move(picture);
    update();
}

void PreviewImage::clear()
{
    picture_.reset();
    update();
}

QSize PreviewImage::pictureSize() const
{
    return picture_ ? picture_->size : QSize();
}

void PreviewImage::paintEvent(QPaintEvent*)
{
    if (!picture_ || picture_->image.isNull()) {
        return;
    }
    // Stretched pictures are kept at the size they are drawn, icons at their own: both are drawn
    // unscaled from the drawn rectangle's top-left corner.
    QPainter painter(this);
    painter.drawImage(drawnRect(picture_->size, size()).topLeft(), picture_->image);
}

// --- The position display -------------------------------------------------------------------------

// Draws over status panel 2 of the status bar: the panel's area filled in the button face colour
// and the position text on it.
class PreviewPane::PositionDisplay : public QWidget
{
public:
    explicit PositionDisplay(QWidget* statusBar) : QWidget(statusBar)
    {
        setObjectName(QStringLiteral("tim_TimerDisplay"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // The text's character cell is 14 pixels high.
        QFont textFont(QStringLiteral("IPAGothic"));
        for (int pixels = 14; pixels > 6; --pixels) {
            textFont.setPixelSize(pixels);
            if (QFontMetrics(textFont).height() <= 14) {
                break;
            }
        }
        setFont(textFont);
        hide();
    }

    QString text;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor face = palette().color(QPalette::Button);
        painter.fillRect(rect(), face);
        // Black as designed, or white where a dark theme's button face would swallow black.
        painter.setPen(readableOn(face, Qt::black));
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
};

// --- The pane -------------------------------------------------------------------------------------

PreviewPane::PreviewPane(const Controls& controls, platform::FileSystem& fileSystem,
                         std::function<void(const QString&)> reportError, QObject* parent)
    : QObject(parent), controls_(controls), fileSystem_(fileSystem)
{
    img_Preview = new PreviewImage(controls_.pane);
    img_Preview->setGeometry(QRect(QPoint(2, 2), imageArea));
    mdi_Player = new MediaPlayer(controls_.pane, std::move(reportError), controls_.pane);
    mdi_Player->clickHandler = [this](MediaPlayer::Button button) {
        mdi_PlayerClick(button);
    };
    connect(mdi_Player, &MediaPlayer::notify, this, &PreviewPane::mdi_PlayerNotify);
    connect(mdi_Player, &MediaPlayer::openFailed, this, &PreviewPane::openingFailed);
    connect(img_Preview, &PreviewImage::languageChanged, this, &PreviewPane::showPictureSize);

    tim_Timer.setObjectName(QStringLiteral("tim_Timer"));
    tim_Timer.setInterval(100);
    connect(&tim_Timer, &QTimer::timeout, this, &PreviewPane::tim_TimerTimer);
    display_ = new PositionDisplay(controls_.statusBar);
}

void PreviewPane::empty()
{
    closePlayer();
    mdi_Player->hide();
    tim_Timer.stop();
    display_->hide();
    img_Preview->clear();
    controls_.sizePanel->clear();
    shownSize_.reset();
}

void PreviewPane::showPictureSize()
{
    if (shownSize_) {
        controls_.sizePanel->setText(tr("Size: %1x%2").arg(shownSize_->height()).arg(shownSize_->width()));
    }
}

void PreviewPane::showFile(const std::string& path)
{
    const PreviewKind kind = previewKind(path);
    if (kind == PreviewKind::None) {
        return;
    }
    if (kind == PreviewKind::Media) {
        openMedia(QFile::decodeName(QByteArray::fromStdString(path)));
        return;
    }
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
    if (info.exists() && info.size() > maxImageFileBytes) {
        return;
    }
    std::string bytes;
    if (const std::error_code error = fileSystem_.readFile(path, bytes)) {
        throw std::runtime_error(platform::errorText(error));
    }
    std::optional<PreviewPicture> picture = decodePreviewPicture(bytes, kind, imageArea);
    if (!picture) {
        return;
    }
    shownSize_ = picture->size;
    img_Preview->setPicture(std::move(*picture));
    showPictureSize();
}

void PreviewPane::closePlayer()
{
    mdi_Player->close();
}

void PreviewPane::showBitmapFile(const std::optional<std::string>& bitmapFile)
{
    std::optional<PreviewPicture> picture;
    if (bitmapFile) {
        picture = decodePreviewPicture(*bitmapFile, PreviewKind::Bitmap, imageArea);
    }
    if (picture) {
        img_Preview->setPicture(std::move(*picture));
    } else {
        img_Preview->clear();
    }
}

void PreviewPane::openMedia(const QString& path)
{
    mdi_Player->FileName = path;
    if (!mdi_Player->open()) {
        openingFailed();
        return;
    }
    // Frame steps are always one frame, and times always milliseconds.
    mdi_Player->setDisplayRect(videoRect);
    const QWidget* pane = controls_.pane;
    mdi_Player->setGeometry(-3, pane->height() - 23, pane->width(), mdi_Player->height());
    mdi_Player->raise();
    mdi_Player->show();
    tim_Timer.start();
    if (controls_.autoPlay->isChecked()) {
        mdi_Player->play();
        mdi_Player->setEnabledButtons(MediaPlayer::playingSet);
    }
}

void PreviewPane::openingFailed()
{
    closePlayer();
    mdi_Player->hide();
    tim_Timer.stop();
    display_->hide();
}

void PreviewPane::mdi_PlayerClick(MediaPlayer::Button button)
{
    switch (button) {
    case MediaPlayer::Button::Play:
        mdi_Player->setEnabledButtons(MediaPlayer::playingSet);
        break;
    case MediaPlayer::Button::Pause:
        mdi_Player->setEnabledButtons(MediaPlayer::stoppedSet);
        break;
    case MediaPlayer::Button::Stop:
        tim_Timer.start();
        mdi_Player->setEnabledButtons(MediaPlayer::stoppedSet);
        mdi_Player->seekToStart();
        break;
    case MediaPlayer::Button::Prev:
        mdi_Player->setEnabledButtons(MediaPlayer::stoppedSet);
        break;
    case MediaPlayer::Button::Step:
    case MediaPlayer::Button::Back:
        break;
    }
}

void PreviewPane::mdi_PlayerNotify()
{
    if (mdi_Player->isOpen() && mdi_Player->mode() == MediaPlayer::Mode::Stopped) {
        mdi_Player->setEnabledButtons(MediaPlayer::stoppedSet);
    }
}

void PreviewPane::tim_TimerTimer()
{
    if (!*controls_.previewOn) {
        // With the pane hidden nothing is drawn; the status bar shows its own panel again.
        display_->hide();
        return;
    }
    const QRect panel = controls_.sizePanel->geometry();
    display_->setGeometry(panel.left() + 5, 3, panel.width() - 15, controls_.statusBar->height() - 8);
    display_->text =
        mdi_Player->isOpen() ? positionText(mdi_Player->position(), mdi_Player->length()) : QString();
    display_->show();
    display_->raise();
    display_->update();
}

QString PreviewPane::positionDisplayText() const
{
    return display_->isHidden() ? QString() : display_->text;
}

bool PreviewPane::positionDisplayShown() const
{
    return !display_->isHidden();
}

} // namespace quorvane::ui
