#include "ui/app/stand_in_frame.h"

#include "ui/app/tarvellite_app.h"

#include <QCloseEvent>
#include <QLabel>

namespace tarvellite::ui {

CStandInFrame::CStandInFrame(CTarvelLiteApp &app) : app_(app) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QString::fromUtf8(productName));
    auto *placeholder = new QLabel(this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    resize(960, 640);
}

void CStandInFrame::closeEvent(QCloseEvent *event) {
    app_.OnClosingMainFrame();
    event->accept();
}

} // namespace tarvellite::ui
