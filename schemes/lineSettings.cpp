#include "lineSettings.h"

void ApplyLineSettings(TZelComAsync& port) {
    port.Port = "";
    port.BaudRate = 38462;
    port.DataBits = 3;
    port.Parity = 0;
    port.StopBits = 0;
    port.InQueueSize = 4096;
    port.OutQueueSize = 4096;
    port.XonChar = 17;
    port.XoffChar = 19;
    port.AbortOnError = true;
    port.EvRxChar = true;
    port.ReadIntervalTimeout = 0xFFFFFFFF;
    port.WriteTotalTimeoutConstant = 1000;
    port.WriteTotalTimeoutMultiplier = 100;
    port.OnlyAvailable = true;
}
