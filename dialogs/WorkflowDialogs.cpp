#include "dialogs/WorkflowDialogs.h"

#include <QDialog>
#include <QString>
#include <exception>
#include <memory>
#include <new>

#include "app/CMVDoc.h"
#include "app/CSendEngine.h"
#include "app/ConnectionText.h"
#include "dialogs/CConnectDlg.h"
#include "dialogs/CReceiveDlg.h"
#include "dialogs/CRetryPrompt.h"
#include "dialogs/CSendDlg.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace {

constexpr unsigned kIdLowOnResources = 299;

// Offers to save the document to its own file. Without a file there is nowhere
// to save it, so the receive is not started rather than lose the changes.
bool SaveToOwnFile(CMVDoc& doc) {
    const std::string question = QString::fromUtf8(texts::kSaveChanges)
                                     .arg(QString::fromStdString(doc.Title()))
                                     .toStdString();
    switch (Ui().MessageBox(question, MsgButtons::YesNoCancel, MsgIcon::Question)) {
        case MsgAnswer::No:
            return true;
        case MsgAnswer::Yes:
            if (doc.PathName().empty()) return false;
            try {
                doc.Save(doc.PathName());
            } catch (const std::exception& e) {
                ReportException(e);
                return false;
            }
            return true;
        default:
            return false;
    }
}

}  // namespace

namespace dialogs {

int RunConnectDialog(QWidget* parent, WorkflowContext& context, std::string* connectedText) {
    std::unique_ptr<CConnectDlg> dialog;
    try {
        dialog = std::make_unique<CConnectDlg>(context, parent);
    } catch (const std::exception&) {
        Ui().MessageBox(LoadString(kIdLowOnResources), MsgButtons::Ok, MsgIcon::Stop);
        return QDialog::Rejected;
    }
    if (dialog->exec() != QDialog::Accepted) return QDialog::Rejected;
    if (connectedText != nullptr) {
        *connectedText = dialog->MovedFrom() != 0
                             ? app::AddressMovedText(context, dialog->MovedFrom())
                             : app::ConnectedText(context);
    }
    return QDialog::Accepted;
}

RetryAnswer RunRetryPrompt(QWidget* parent, const std::string& message) {
    CRetryPrompt prompt(message, parent);
    prompt.exec();
    return static_cast<RetryAnswer>(prompt.Answer());
}

WorkflowResult RunSendConfiguration(QWidget* parent, WorkflowContext& context,
                                    const std::string& preface) {
    // The progress window is created only once the safety question has been
    // answered OK, so it never stands behind it.
    auto send = std::make_unique<CSendEngine>(context);
    if (!send->Start(preface)) return send->Result();
    WorkflowResult result = WorkflowResult::Running;
    {
        CSendDlg window(std::move(send), parent);
        window.exec();
        result = window.Result();
    }
    // The window is gone before the outcome is shown.
    CSendEngine::ReportOutcome(result);
    return result;
}

WorkflowResult RunReceiveConfiguration(QWidget* parent, WorkflowContext& context,
                                       std::function<bool()> saveModified,
                                       std::function<void(const std::string& name)> named) {
    if (!saveModified) saveModified = [&context] { return SaveToOwnFile(context.doc); };
    // As for Send: the window appears only after the save question.
    auto receive = std::make_unique<CReceiveEngine>(context);
    if (!receive->Start(saveModified)) return receive->Result();
    CReceiveDlg window(context, std::move(receive), std::move(named), parent);
    window.exec();
    return window.Result();
}

int RunLogIn(WorkflowContext& context) {
    const std::optional<std::string> password = Ui().PromptPassword();
    if (!password) return context.AccessState();
    return context.security.LogIn(context.Access(), *password);
}

bool RunStartupConnection(QWidget* parent, WorkflowContext& context,
                          std::function<void()> closeStartupWindow) {
    CStartupConnect::Callbacks callbacks;
    callbacks.retryPrompt = [parent](const std::string& message) {
        return RunRetryPrompt(parent, message);
    };
    callbacks.connectDialog = [parent, &context] {
        return RunConnectDialog(parent, context) == QDialog::Accepted;
    };
    callbacks.closeStartupWindow = std::move(closeStartupWindow);
    CStartupConnect startup(context, std::move(callbacks));
    return startup.Run();
}

}  // namespace dialogs
