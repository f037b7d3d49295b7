#include "ui/viewer/HostKeyQuestion.h"

#include "platform/netctrl/HostKeyVerifier.h"
#include "ui/app/DvrMessageBox.h"

bool AskTrustNewHostKey(QWidget* parent, const HostKeyChange& change, HostKeyVerifier& pins)
{
    const auto answer = DvrMessageBox(parent, QString::fromStdString(HostKeyQuestionText(change)), "DVR",
                                      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    pins.Trust(change.host, change.port, change.shown);
    return true;
}
