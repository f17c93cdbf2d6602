#pragma once

#include <string>

class CMVDoc;

// The compensated-flow setup command and the rules of its completion window.
// The setup pages themselves (fluid, producer, ranges, the data grids) are not
// part of this program: the command prepares its working copy as the pages
// would get it, says that it cannot be completed, and discards the copy, so the
// document keeps its configuration.
namespace config {

// Where the grid component of the setup pages is looked for: the system's
// library folder first, then the current folder.
struct GridComponent {
    std::string systemDirectory;
    std::string currentDirectory;
    std::string fileName;
};

enum class FlowSetupEnd {
    ComponentMissing,  // "Cannot open file--" with the system path was shown
    PagesUnavailable,  // "Operation could not be completed!" was shown
};

FlowSetupEnd RunFlowSetup(CMVDoc& doc, const GridComponent& component);

// What the completion window "Flow Setup is Complete" shows and does.
class CFlowSetupCompletion {
  public:
    // `connectAllowed`: whether the document may connect (the Connect command's
    // enabling).
    CFlowSetupCompletion(CMVDoc& doc, bool connectAllowed);

    bool ConnectEnabled() const { return m_connectAllowed; }
    // The note beside "&File": the reminder that only a file keeps typed-in
    // density and viscosity values when the fluid is not in the database.
    std::string FileNote() const;
    // The hidden writer of the flow test files into `directory` (empty: the
    // current folder), with its messages.
    void WriteTestFiles(const std::string& directory);

  private:
    CMVDoc& m_doc;
    bool m_connectAllowed;
};

}  // namespace config
