#include "dialogs/maintenance/CSelfTestDlg.h"

#include "diagnostics/CErrorInfoForm.h"
#include "diagnostics/CSelfTestForm.h"
#include "dialogs/maintenance/CErrorInfoDlg.h"

CSelfTestDlg::CSelfTestDlg(CSelfTestForm& form, QWidget* parent)
    : CTimedStepDlg(form, parent), m_selfTest(form) {
    setObjectName(QStringLiteral("selfTestDlg"));
    form.SetErrorInformationViewer([this](CErrorInfoForm& errorInformation) {
        CErrorInfoDlg window(errorInformation, this);
        window.exec();
    });
}

// The form may outlive its window.
CSelfTestDlg::~CSelfTestDlg() { m_selfTest.SetErrorInformationViewer({}); }
