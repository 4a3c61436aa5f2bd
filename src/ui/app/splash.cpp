#include "ui/app/splash.h"

#include "core/app/version.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

static void initArtwork() {
    Q_INIT_RESOURCE(artwork);
}

namespace tarvellite::ui {

namespace {

constexpr int splashWidth = 480;
constexpr int splashHeight = 300;

} // namespace

CSplash::CSplash(int applicationLook, Mode mode, QWidget *parent)
    : QDialog(parent, mode == Mode::Splash
                          ? Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                          : Qt::Dialog | Qt::FramelessWindowHint),
      look_(applicationLook), mode_(mode) {
    initArtwork();
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(splashWidth, splashHeight);
    setWindowTitle(QString::fromUtf8(productName));
    setAccessibleName(mode_ == Mode::About ? QStringLiteral("About %1").arg(productName)
                                           : QString::fromUtf8(productName));
    // The version text, in dark green on a light panel that the background draws.
    version_ = new QLabel(versionText(), this);
    version_->setObjectName(QStringLiteral("1219"));
    QFont versionFont(QStringLiteral("Times New Roman"));
    versionFont.setPixelSize(12);
    versionFont.setBold(true);
    version_->setFont(versionFont);
    version_->setStyleSheet(QStringLiteral("color: rgb(0, 92, 0); background: transparent;"));
    version_->setGeometry(26, splashHeight - 44, 170, 28);
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setObjectName(QStringLiteral("1"));
    ok_->setAccessibleName(tr("OK"));
    ok_->setGeometry(splashWidth - 96, splashHeight - 40, 80, 28);
    ok_->setVisible(mode_ == Mode::About);
    ok_->setDefault(mode_ == Mode::About);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    if (QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

QString CSplash::versionText() {
    return QStringLiteral("Version: %1  Build: %2").arg(appVersion).arg(buildVersion);
}

std::pair<QColor, QColor> CSplash::backgroundOf(int look) {
    switch (look) {
    case 216: return {QColor(72, 72, 76), QColor(20, 20, 24)};       // black
    case 217: return {QColor(236, 238, 242), QColor(168, 174, 186)}; // silver
    case 218: return {QColor(200, 232, 238), QColor(96, 170, 190)};  // aqua
    case 219: return {QColor(220, 232, 248), QColor(120, 160, 214)}; // Windows 7
    case 205:
    case 206:
    case 207:
    case 209:
    case 210: return {QColor(240, 236, 226), QColor(196, 186, 160)}; // the older looks
    default: return {QColor(214, 230, 252), QColor(74, 128, 206)};   // blue (208, 215)
    }
}

void CSplash::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const auto [top, bottom] = backgroundOf(look_);
    const bool dark = look_ == 216;

    QLinearGradient background(r.topLeft(), r.bottomLeft());
    background.setColorAt(0, top);
    background.setColorAt(1, bottom);
    p.fillRect(r, background);

    // A sweep of light across the lower half.
    QPainterPath wave;
    wave.moveTo(0, r.height() * 0.62);
    wave.cubicTo(r.width() * 0.35, r.height() * 0.45, r.width() * 0.65, r.height() * 0.85,
                 r.width(), r.height() * 0.6);
    wave.lineTo(r.width(), r.height());
    wave.lineTo(0, r.height());
    wave.closeSubpath();
    p.fillPath(wave, QColor(255, 255, 255, dark ? 28 : 70));

    // Letters of the scripts the program types, faint behind the name (a picture, so that the
    // splash needs no script fonts of its own).
    static const QImage letters(QStringLiteral(":/artwork/splash_letters.png"));
    p.setOpacity(dark ? 60 / 255.0 : 110 / 255.0);
    p.drawImage(QRectF(0, 18, r.width(), 60), letters);
    p.setOpacity(1.0);

    QFont title(QStringLiteral("Noto Sans"), 36, QFont::Bold);
    p.setFont(title);
    p.setPen(dark ? QColor(240, 240, 240) : QColor(20, 52, 110));
    p.drawText(QRectF(0, 84, r.width(), 70), Qt::AlignCenter, QString::fromUtf8(productName));

    QFont subtitle(QStringLiteral("Noto Sans"), 12);
    p.setFont(subtitle);
    p.setPen(dark ? QColor(200, 200, 200) : QColor(40, 70, 120));
    p.drawText(QRectF(0, 150, r.width(), 24), Qt::AlignCenter,
               tr("Word processing for Indian languages"));

    // The version line on a light panel, in dark green.
    const QRectF panel(16, r.height() - 44, 180, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawRoundedRect(panel, 6, 6);

    p.setPen(dark ? QColor(180, 180, 180) : QColor(255, 255, 255));
    QFont maker(QStringLiteral("Noto Sans"), 9);
    p.setFont(maker);
    if (mode_ == Mode::Splash)
        p.drawText(QRectF(0, r.height() - 40, r.width() - 16, 20),
                   Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(makerName));
    p.setPen(QColor(0, 0, 0, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void CSplash::keyPressEvent(QKeyEvent *event) {
    if (mode_ == Mode::About && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
                                 event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    if (mode_ == Mode::Splash)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace tarvellite::ui
