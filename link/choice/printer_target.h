// The printer the remote panel works with, as chosen from the spooler's list.
#pragma once

#include "link/channel/model_code.h"

enum ConnectionKind { ConnectSpooler = 0, ConnectLan = 1 };  // 2..6, 16: refusal codes

struct PrinterTarget {
    char PrinterName[256];
    char PortName[256];
    char DriverName[256];
    int ConnectionKind;
    ModelCode Model;
    int QueuedJobs;
    char LanAddress[256];  // the network printer's address, from PortName
};
