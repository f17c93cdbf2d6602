#include "app/ui/CDocumentAdapter.h"

#include "transmitter/CComm.h"

CDocumentAdapter::CDocumentAdapter(ISettingsStore& settings)
    : m_context{m_doc, settings, m_security, {}} {}

std::string CDocumentAdapter::CurrentTag() const {
    if (!m_context.Connected()) return std::string();
    std::string tag = m_context.Comm().CurrentTag();
    // The tag table holds eight characters padded with blanks or zeros.
    while (!tag.empty() && (tag.back() == ' ' || tag.back() == '\0')) tag.pop_back();
    return tag;
}
