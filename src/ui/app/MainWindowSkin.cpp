#include "ui/app/MainWindowSkin.h"

#include "core/viewer/MainWindowControlTable.h"
#include "ui/controls/CtrlId.h"
#include "ui/skin/CSkinEngine.h"
#include "ui/skin/SkinElements.h"

#include <QWidget>

namespace {

// Windows that no skin element names (lists, labels, the slider) keep this
// look under any skin.
constexpr const char* kUnskinnedLook =
    "QLabel { color: #c8ccd4; }"
    "QListWidget, QTableWidget { color: #c8ccd4; background: #14161a; border: 1px solid #2c3038;"
    "  gridline-color: #2c3038; selection-background-color: #3d6fb4; selection-color: #ffffff; }"
    "QHeaderView { background: #20232a; }"
    "QHeaderView::section { color: #c8ccd4; background: #20232a; border: 1px solid #2c3038; }";

// Without a skin the buttons need a look of their own to stay readable.
constexpr const char* kPlainButtons =
    "#m_bg_Liveview { background: #1b1d22; }"
    "QPushButton { color: #e6e8ec; background: #2c3038; border: 1px solid #3c424c; border-radius: 4px; }"
    "QPushButton:hover { background: #363b45; }"
    "QPushButton:checked { background: #3d6fb4; }"
    "QPushButton:disabled { color: #a8aeb8; }";

} // namespace

void SkinMainWindow(QWidget* window, const CSkinEngine& skin)
{
    window->setStyleSheet(QString(kUnskinnedLook) + (skin.Loaded() ? "" : kPlainButtons));
    skin.Apply(window, MainWindowBackgroundElement());
    // The painted background needs the styled background of a plain widget.
    window->setAttribute(Qt::WA_StyledBackground);

    QSet<QWidget*> placed;
    for (const ControlPlacement& c : MainWindowControlTable()) {
        QWidget* control = FindCtrl(window, c.id);
        if (!control)
            continue;
        skin.Apply(control, QString::fromStdString(c.element));
        control->setGeometry(c.x, c.y, c.width, c.height);
        placed.insert(control);
    }
    const QStringList& elements = SkinElementNames();
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!placed.contains(child) && elements.contains(child->objectName()))
            skin.Apply(child, child->objectName());
    }
}
