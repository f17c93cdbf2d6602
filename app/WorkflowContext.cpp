#include "app/WorkflowContext.h"

#include "app/CMVDoc.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

CTransmitter& WorkflowContext::Model() { return doc.Transmitter(); }

CComm& WorkflowContext::Comm() { return Model().Comm(); }

bool WorkflowContext::Connected() { return Comm().IsDeviceSelected(); }

AccessContext WorkflowContext::Access() {
    AccessContext context;
    context.connected = Connected();
    context.linkAvailable = doc.LinkAvailable();
    context.hasFlowConfiguration = Model().HasFlow();
    return context;
}
