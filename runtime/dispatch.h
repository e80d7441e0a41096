// How a value travels: events along links, a work point's forward to the
// next link, the reading of data points, and the switch that turns all of
// it on and off.
#pragma once

#include <cstdint>
#include <string>

struct TData;
struct TPointLink;
class TMemoryStream;

void CallEvent(const TPointLink& link, TData& d);
void CallEventCopy(const TPointLink& link, const TData& d);
void CallEventInt(const TPointLink& link, int32_t i);
void CallEventStr(const TPointLink& link, std::string s);
void CallEventNull(const TPointLink& link);

// A work point's last act: hand its output back to the dispatcher.
void ForwardData(TData& d, const TPointLink& link, const TData& v);
void ForwardInt(TData& d, const TPointLink& link, int32_t i);
void ForwardStr(TData& d, const TPointLink& link, std::string s);
void ForwardNull(TData& d, const TPointLink& link);

// ---- reading -------------------------------------------------------------

TData ReadData(TData& incoming, const TPointLink& point, const TData* def);
TData ReadDataChain(TData& incoming, const TPointLink& point, const TData* def);
std::string ReadString(TData& incoming, const TPointLink& point, const std::string& def);
int32_t ReadInteger(TData& incoming, const TPointLink& point, int32_t def);
int32_t ReadIntegerPoint(const TPointLink& point);
TMemoryStream* ReadStreamPoint(const TPointLink& point);
void ReadRaw(TData& d, const TPointLink& point);
TData TakeData(TData& incoming);

// ---- the switch ----------------------------------------------------------

void EnableDispatch();
void DisableDispatch();
bool DispatchEnabled();
