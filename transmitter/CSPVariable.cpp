#include "transmitter/CSPVariable.h"

#include "transmitter/CComm.h"

CSPVariable::CSPVariable(CComm& comm) : CMeasuredVariable(comm, transmitter::kVarSp) {}

void CSPVariable::Reset() {
    CMeasuredVariable::Reset();
    m_spType = kSpTypeUnknown;
    m_atmosphere = kDefaultAtmosphere;
}

uint8_t CSPVariable::ReadSpType(int access) {
    if (transmitter::IsDocument(access)) return m_spType;
    return static_cast<uint8_t>(m_comm.ReadRegister10() & 0xFF);
}
