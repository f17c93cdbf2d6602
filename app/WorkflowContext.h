#pragma once

#include "app/CSecurity.h"
#include "platform/ISerialPort.h"

class CComm;
class CMVDoc;
class CTransmitter;
class ISettingsStore;

// What the connect, search, send and receive workflows work on: the document
// with its transmitter model, the settings the link is loaded from, and the
// security of the connected transmitter.
struct WorkflowContext {
    CMVDoc& doc;
    ISettingsStore& settings;
    CSecurity& security;
    // Creates the serial port a new link opens; empty for the platform's own.
    SerialPortFactory portFactory;

    CTransmitter& Model();
    CComm& Comm();
    bool Connected();
    AccessContext Access();
    // The access state as the status bar and the command routing see it.
    int AccessState() { return security.CurrentAccessState(Access()); }
};
