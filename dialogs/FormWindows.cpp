#include "dialogs/FormWindows.h"

#include <type_traits>

#include "app/CMVDoc.h"
#include "app/CommandTable.h"
#include "app/WorkflowContext.h"
#include "config/CCalculatedFactorsForm.h"
#include "config/CDampingForm.h"
#include "config/CDataFormatsForm.h"
#include "config/CDeviceInfoForm.h"
#include "config/CEndpointsForm.h"
#include "config/CEnteredFactorsForm.h"
#include "config/CFactorsViewForm.h"
#include "config/CLcdDisplayForm.h"
#include "config/CPasswordsForm.h"
#include "config/CSensorLimitsForm.h"
#include "config/CSetupLimitsForm.h"
#include "config/CTestCalculationForm.h"
#include "config/CTransmitterCommForm.h"
#include "config/CUnitsForm.h"
#include "diagnostics/CErrorInfoForm.h"
#include "diagnostics/CIdentificationForm.h"
#include "diagnostics/CMasterResetForm.h"
#include "diagnostics/CModuleInfoForm.h"
#include "diagnostics/CSelfTestForm.h"
#include "dialogs/CFormDialog.h"
#include "dialogs/config/CCalculatedFactorsDlg.h"
#include "dialogs/config/CDampingDlg.h"
#include "dialogs/config/CDataFormatsDlg.h"
#include "dialogs/config/CDeviceInfoDlg.h"
#include "dialogs/config/CEndpointsDlg.h"
#include "dialogs/config/CEnteredFactorsDlg.h"
#include "dialogs/config/CLcdDisplayDlg.h"
#include "dialogs/config/CPasswordsDlg.h"
#include "dialogs/config/CSensorLimitsDlg.h"
#include "dialogs/config/CSetupLimitsDlg.h"
#include "dialogs/config/CTransmitterCommDlg.h"
#include "dialogs/config/CUnitsDlg.h"
#include "dialogs/flow/CTestCalculationDlg.h"
#include "dialogs/maintenance/CErrorInfoDlg.h"
#include "dialogs/maintenance/CFixedPtDlg.h"
#include "dialogs/maintenance/CIdentificationDlg.h"
#include "dialogs/maintenance/CModuleInfoDlg.h"
#include "dialogs/maintenance/CReadOutputsDlg.h"
#include "dialogs/maintenance/CSelfTestDlg.h"
#include "dialogs/maintenance/CSensorTrimDlg.h"
#include "dialogs/maintenance/CTimedStepDlg.h"
#include "dialogs/maintenance/CTrimStepDlg.h"
#include "maintenance/CFixedPtForm.h"
#include "maintenance/CReadOutputsForm.h"
#include "maintenance/CSensorTrimForm.h"
#include "maintenance/CTrimStepForm.h"
#include "transmitter/CTransmitter.h"

namespace dialogs {
namespace {

// A window whose form needs only the document and the mode.
template <typename Form, typename Window>
FormWindow DocumentWindow(int command, const char* name, int mode) {
    return {command, name, mode,
            [mode](WorkflowContext& context) -> std::unique_ptr<CConfigForm> {
                return std::make_unique<Form>(context.doc, mode);
            },
            [](CConfigForm& form, QWidget* parent) -> std::unique_ptr<CFormDialog> {
                return std::make_unique<Window>(static_cast<Form&>(form), parent);
            }};
}

// A diagnostics window: on the connected transmitter only; its form takes the
// workflow context where it needs more than the document (to disconnect).
template <typename Form, typename Window>
FormWindow DiagnosticsWindow(int command, const char* name) {
    return {command, name, config::kTransmitterMode,
            [](WorkflowContext& context) -> std::unique_ptr<CConfigForm> {
                if constexpr (std::is_constructible_v<Form, WorkflowContext&>)
                    return std::make_unique<Form>(context);
                else
                    return std::make_unique<Form>(context.doc);
            },
            [](CConfigForm& form, QWidget* parent) -> std::unique_ptr<CFormDialog> {
                return std::make_unique<Window>(static_cast<Form&>(form), parent);
            }};
}

// The integer scaling records and units names of the document, as the Data
// Formats window hands them to a parameter window.
ScalingRecords DocumentRecords(CTransmitter& model) {
    return {model.Dp().IntegerScaling(), model.Sp().IntegerScaling(), model.Pt().IntegerScaling()};
}

UnitsNames DocumentUnits(CTransmitter& model) {
    return {model.Dp().Units().Name(), model.Sp().Units().Name(), model.Pt().Units().Name()};
}

// A parameter window of the Data Formats window over the document's records;
// no command opens it, the screenshots draw it.
template <typename Form, typename Window>
FormWindow ParameterWindow(const char* name) {
    return {0, name, config::kSetupMode,
            [](WorkflowContext& context) -> std::unique_ptr<CConfigForm> {
                CTransmitter& model = context.doc.Transmitter();
                return std::make_unique<Form>(context.doc, config::kSetupMode,
                                              DocumentRecords(model), DocumentUnits(model));
            },
            [](CConfigForm& form, QWidget* parent) -> std::unique_ptr<CFormDialog> {
                return std::make_unique<Window>(static_cast<Form&>(form), parent);
            }};
}

// The read-only view of the factors calculated from the document's PVs.
FormWindow FactorsViewWindow(const char* name) {
    return {0, name, config::kSetupMode,
            [](WorkflowContext& context) -> std::unique_ptr<CConfigForm> {
                const ScalingRecords records = DocumentRecords(context.doc.Transmitter());
                std::array<CalculatedFactors, 3> factors;
                for (size_t i = 0; i < records.size(); ++i)
                    factors[i] = CCalculatedFactorsForm::Calculate(
                        records[i].counts, records[i].minPv, records[i].maxPv, records[i].rounding);
                return std::make_unique<CFactorsViewForm>(context.doc, config::kSetupMode,
                                                          records[0].counts, factors,
                                                          DocumentUnits(context.doc.Transmitter()));
            },
            [](CConfigForm& form, QWidget* parent) -> std::unique_ptr<CFormDialog> {
                return std::make_unique<CEnteredFactorsDlg>(form, parent,
                                                            CEnteredFactorsDlg::Buttons::None);
            }};
}

std::vector<FormWindow> BuildWindows() {
    using config::kSetupMode;
    using config::kTransmitterMode;
    return {
        DocumentWindow<CUnitsForm, CUnitsDlg>(cmd::kSetupUnits, "units", kSetupMode),
        DocumentWindow<CDampingForm, CDampingDlg>(cmd::kSetupDamping, "damping", kSetupMode),
        DocumentWindow<CDeviceInfoForm, CDeviceInfoDlg>(cmd::kSetupDeviceInfo, "device-info",
                                                        kSetupMode),
        DocumentWindow<CSetupLimitsForm, CSetupLimitsDlg>(cmd::kSetupSensorLimits, "limits",
                                                          kSetupMode),
        DocumentWindow<CDataFormatsForm, CDataFormatsDlg>(cmd::kSetupDataFormats, "data-formats",
                                                          kSetupMode),
        ParameterWindow<CEndpointsForm, CEndpointsDlg>("scaling-endpoints"),
        ParameterWindow<CEnteredFactorsForm, CEnteredFactorsDlg>("scaling-entered-factors"),
        ParameterWindow<CCalculatedFactorsForm, CCalculatedFactorsDlg>(
            "scaling-calculated-factors"),
        FactorsViewWindow("scaling-view-factors"),
        DocumentWindow<CUnitsForm, CUnitsDlg>(cmd::kXmtrUnits, "units", kTransmitterMode),
        DocumentWindow<CDampingForm, CDampingDlg>(cmd::kXmtrDamping, "damping", kTransmitterMode),
        DocumentWindow<CDeviceInfoForm, CDeviceInfoDlg>(cmd::kXmtrDeviceInfo, "device-info",
                                                        kTransmitterMode),
        DocumentWindow<CSensorLimitsForm, CSensorLimitsDlg>(cmd::kXmtrSensorLimits, "limits",
                                                            kTransmitterMode),
        DocumentWindow<CDataFormatsForm, CDataFormatsDlg>(cmd::kXmtrDataFormats, "data-formats",
                                                          kTransmitterMode),
        DocumentWindow<CTransmitterCommForm, CTransmitterCommDlg>(cmd::kSetupXmtrComm, "comm",
                                                                  kSetupMode),
        DocumentWindow<CLcdDisplayForm, CLcdDisplayDlg>(cmd::kSetupLcdDisplay, "lcd", kSetupMode),
        DocumentWindow<CTransmitterCommForm, CTransmitterCommDlg>(cmd::kXmtrComm, "comm",
                                                                  kTransmitterMode),
        DocumentWindow<CLcdDisplayForm, CLcdDisplayDlg>(cmd::kXmtrLcdDisplay, "lcd",
                                                        kTransmitterMode),
        {cmd::kPrivileges, "passwords", kTransmitterMode,
         [](WorkflowContext& context) -> std::unique_ptr<CConfigForm> {
             return std::make_unique<CPasswordsForm>(context.doc, context.security);
         },
         [](CConfigForm& form, QWidget* parent) -> std::unique_ptr<CFormDialog> {
             return std::make_unique<CPasswordsDlg>(static_cast<CPasswordsForm&>(form), parent);
         }},
        DocumentWindow<CTestCalculationForm, CTestCalculationDlg>(
            cmd::kTestCalculation, "test-calculation", kTransmitterMode),
        DiagnosticsWindow<CSensorTrimForm, CSensorTrimDlg>(cmd::kSensorTrim, "sensor-trim"),
        // The offset step of a DP trim at its present offset trim point.
        {kOpenedByWindow, "trim-step", kTransmitterMode,
         [](WorkflowContext& context) -> std::unique_ptr<CConfigForm> {
             return std::make_unique<CTrimStepForm>(context.doc, transmitter::kVarDp,
                                                    CTrimStepForm::Kind::Offset, 0.0F,
                                                    std::string());
         },
         [](CConfigForm& form, QWidget* parent) -> std::unique_ptr<CFormDialog> {
             return std::make_unique<CTrimStepDlg>(static_cast<CTrimStepForm&>(form), parent);
         }},
        DiagnosticsWindow<CFixedPtForm, CFixedPtDlg>(cmd::kFixedProcessTemp, "fixed-pt"),
        DiagnosticsWindow<CReadOutputsForm, CReadOutputsDlg>(cmd::kReadOutputs, "read-outputs"),
        DiagnosticsWindow<CModuleInfoForm, CModuleInfoDlg>(cmd::kModuleInfo, "module-info"),
        DiagnosticsWindow<CIdentificationForm, CIdentificationDlg>(cmd::kIdentificationInfo,
                                                                   "identification"),
        DiagnosticsWindow<CMasterResetForm, CTimedStepDlg>(cmd::kMasterReset, "master-reset"),
        DiagnosticsWindow<CSelfTestForm, CSelfTestDlg>(cmd::kSelfTest, "self-test"),
        DiagnosticsWindow<CErrorInfoForm, CErrorInfoDlg>(cmd::kErrorInfo, "error-info"),
    };
}

}  // namespace

const std::vector<FormWindow>& FormWindows() {
    static const std::vector<FormWindow> windows = BuildWindows();
    return windows;
}

const FormWindow* FindFormWindow(int command) {
    for (const FormWindow& window : FormWindows()) {
        if (window.command != kOpenedByWindow && window.command == command) return &window;
    }
    return nullptr;
}

int RunFormWindow(QWidget* parent, WorkflowContext& context, int command) {
    const FormWindow* entry = FindFormWindow(command);
    if (entry == nullptr) return -1;
    std::unique_ptr<CConfigForm> form = entry->makeForm(context);
    if (!form->Open()) return CFormDialog::kAbortResult;
    std::unique_ptr<CFormDialog> window = entry->makeWindow(*form, parent);
    return window->exec();
}

}  // namespace dialogs
