#include "report/ReportContent.h"

#include <ctime>

#include "app/CMVDoc.h"
#include "diagnostics/CIdentificationForm.h"

namespace report {

std::vector<std::pair<std::string, std::string>> ReadIdentification(CMVDoc& doc) {
    std::vector<std::pair<std::string, std::string>> out;
    CIdentificationForm form(doc);
    if (!form.Open()) return out;
    for (const FormField& field : form.Fields()) {
        std::string label = field.label;
        while (!label.empty() && (label.back() == ':' || label.back() == ' ')) label.pop_back();
        out.emplace_back(label, field.Shown());
    }
    return out;
}

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M %z", &local) == 0) return std::string();
    return text;
}

}  // namespace report
