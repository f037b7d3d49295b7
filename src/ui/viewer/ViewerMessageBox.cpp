#include "ui/viewer/ViewerMessageBox.h"

#include "ui/app/DvrMessageBox.h"
#include "ui/viewer/ViewerText.h"

#include <QSet>

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
    // Each box waits for OK in an event loop of its own. On a wall left alone,
    // a recorder that drops every few minutes would stack box upon box (and
    // loop upon loop, until the stack runs out); one saying the same is enough
    // while it is open, and the sessions' status lists still tell every loss.
    static QSet<QString> open;
    const QString text = TextOf(message.text);
    if (open.contains(text))
        return;
    open.insert(text);
    DvrMessageBox(parent, text, "DVR", BoxIcon(message.icon));
    open.remove(text);
}
