#include "ui/mainwindow/ribbon/ribbon_looks.h"

#include "ui/document/command_ids.h"

namespace tarvellite::ui {

namespace {

RibbonLook blue() {
    return {QStringLiteral("blue"), QColor(191, 219, 255), QColor(219, 234, 255),
            QColor(196, 218, 246),  QColor(141, 178, 227), QColor(21, 66, 139),
            QColor(62, 106, 170),   QColor(255, 219, 117), QColor(207, 221, 238),
            QColor(58, 110, 196),   QColor(21, 66, 139)};
}

RibbonLook black() {
    return {QStringLiteral("black"), QColor(64, 64, 64),    QColor(228, 228, 228),
            QColor(192, 192, 192),   QColor(96, 96, 96),    QColor(24, 24, 24),
            QColor(70, 70, 70),      QColor(255, 200, 100), QColor(72, 72, 72),
            QColor(30, 30, 30),      QColor(240, 240, 240)};
}

RibbonLook silver() {
    return {QStringLiteral("silver"), QColor(208, 212, 221), QColor(242, 243, 246),
            QColor(215, 219, 226),    QColor(165, 172, 181), QColor(60, 60, 60),
            QColor(90, 96, 110),      QColor(255, 219, 117), QColor(228, 230, 234),
            QColor(120, 128, 140),    QColor(60, 60, 60)};
}

RibbonLook aqua() {
    return {QStringLiteral("aqua"), QColor(168, 218, 222), QColor(214, 240, 242),
            QColor(170, 218, 224),  QColor(98, 170, 180),  QColor(20, 80, 90),
            QColor(40, 110, 120),   QColor(255, 219, 117), QColor(196, 228, 232),
            QColor(30, 140, 150),   QColor(20, 80, 90)};
}

RibbonLook light() {
    return {QStringLiteral("light"), QColor(223, 233, 245), QColor(255, 255, 255),
            QColor(245, 246, 247),   QColor(182, 186, 191), QColor(30, 57, 91),
            QColor(76, 96, 122),     QColor(205, 230, 247), QColor(238, 242, 248),
            QColor(25, 121, 202),    QColor(30, 57, 91)};
}

} // namespace

RibbonLook ribbonLook(int applicationLook) {
    switch (applicationLook) {
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
    case ID_VIEW_APPLOOK_VS_2005:
    case ID_VIEW_APPLOOK_VS_2008: return black();
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
    case ID_VIEW_APPLOOK_WIN_2000:
    case ID_VIEW_APPLOOK_OFF_XP: return silver();
    case ID_VIEW_APPLOOK_OFF_2007_AQUA: return aqua();
    case ID_VIEW_APPLOOK_WINDOWS_7:
    case ID_VIEW_APPLOOK_WIN_XP: return light();
    default: return blue();
    }
}

QString ribbonStyleSheet(const RibbonLook &look) {
    auto c = [](const QColor &colour) { return colour.name(); };
    return QStringLiteral(
               "#ribbon { background: %1; }"
               "#ribbon-tabrow { background: %1; }"
               "#ribbon-tabrow QToolButton { color: %9; }"
               "#ribbon QTabBar::tab { color: %9; background: transparent; padding: 3px 12px;"
               " border: 1px solid transparent; border-bottom: none; }"
               "#ribbon QTabBar::tab:selected { background: %2; border-color: %4; color: %5; }"
               "#ribbon-categories { background: %1; }"
               "QWidget#ribbon-panel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
               "%2,"
               " stop:1 %3); border: 1px solid %4; border-radius: 3px; }"
               "QWidget#ribbon-panel QLabel#panel-title { color: %6; background: transparent; }"
               "QWidget#ribbon-panel QToolButton, QFrame#ribbon-popup QToolButton { color: %5;"
               " background: transparent; border: 1px solid transparent; border-radius: 2px;"
               " padding: 1px; }"
               "QWidget#ribbon-panel QToolButton:hover, QWidget#ribbon-panel QToolButton:checked,"
               " #ribbon-tabrow QToolButton:hover { background: %7; border-color: %4;"
               " color: #1e1e1e; }"
               "QFrame#ribbon-popup { background: %2; border: 1px solid %4; }"
               "QWidget#ribbon-panel QToolButton[popupMode=\"1\"] { padding-right: 14px; }"
               "QWidget#ribbon-panel QToolButton::menu-button { border-left: 1px solid %4; width: "
               "12px; }"
               "QWidget#ribbon-panel QToolButton:disabled { color: %8; }")
        .arg(c(look.tabRow), c(look.panelTop), c(look.panelBottom), c(look.border), c(look.text),
             c(look.titleText), c(look.hover),
             c(look.text.lightnessF() > 0.5 ? look.text.darker(160) : look.border),
             c(look.tabText));
}

QPalette framePalette(const RibbonLook &look, const QPalette &base) {
    QPalette palette = base;
    palette.setColor(QPalette::Window, look.frame);
    palette.setColor(QPalette::Button, look.frame);
    const QColor text = look.frame.lightnessF() < 0.4 ? QColor(Qt::white) : QColor(Qt::black);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    return palette;
}

} // namespace tarvellite::ui
