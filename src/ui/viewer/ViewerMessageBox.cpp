#include "ui/viewer/ViewerMessageBox.h"

#include "ui/app/DvrMessageBox.h"
#include "ui/viewer/ViewerText.h"

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

} // namespace

void ShowViewerMessage(QWidget* parent, const MessageRequest& message)
{
    DvrMessageBox(parent, TextOf(message.text), "DVR", BoxIcon(message.icon));
}
