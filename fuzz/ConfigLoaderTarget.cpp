#include "fuzz/ConfigLoaderTarget.h"

#include <vector>

#include "app/CMVDoc.h"
#include "fuzz/FuzzUi.h"
#include "platform/CException.h"

namespace fuzz {

std::string CheckConfigInput(const uint8_t* data, size_t size) {
    CRecordingUi ui;
    CMVDoc doc;
    try {
        doc.Load(std::vector<uint8_t>(data, data + size));
    } catch (const CException&) {
        if (doc.IsModified()) return "a failed load left the document modified";
        return {};
    }
    const std::vector<uint8_t> stored = doc.Store();
    CMVDoc again;
    try {
        again.Load(stored);
    } catch (const CException&) {
        return "a stored configuration does not load again";
    }
    if (again.Store() != stored) return "a loaded configuration does not store stably";
    return {};
}

}  // namespace fuzz
