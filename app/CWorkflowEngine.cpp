#include "app/CWorkflowEngine.h"

void CWorkflowEngine::SetStatusText(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        shown.push_back(text[i]);
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') ++i;
    }
    m_statusText = shown;
}
