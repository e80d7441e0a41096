// Both top-level schemes build the shared exchange with one function, and
// around it each builds its own hubs for the write button and the outcome:
// the window's feed its controls too, the console's its signals, so they
// are not one piece of code. Both schemes are built here and every link of
// every element they both have is compared: its point, its target (by the
// element's name in its scheme), the target's method when both targets are
// of one kind, and the index it carries. Links to what only one scheme has
// are left out, in order, so a hub that feeds one more or one fewer of them
// still compares equal in what it shares.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "console/zelConsoleFlash.h"
#include "guiTestSupport.h"
#include "schemes/zelSimpleForm_25EFC10.h"

namespace {

struct TNamed {
    const char* name;
    const void* element;
    const std::type_info* kind;
};
template <class T>
TNamed Named(const char* name, const std::unique_ptr<T>& element) {
    return {name, element.get(), &typeid(T)};
}

using TPoints = std::vector<std::pair<std::string, const TPointLink*>>;

// The link fields of each kind of element the schemes share; a hub's
// outputs count by their order alone.
TPoints PointsOf(const TZelHub& h) {
    TPoints p;
    for (const TPointLink& l : h.onEvent) p.emplace_back("out", &l);
    return p;
}
TPoints PointsOf(const TZelCommutator& c) {
    TPoints p;
    for (size_t k = 0; k < c.onEvent.size(); ++k) p.emplace_back("onEvent[" + std::to_string(k) + "]", &c.onEvent[k]);
    p.emplace_back("Enabled", &c.Enabled);
    p.emplace_back("InIndex", &c.InIndex);
    p.emplace_back("OutIndex", &c.OutIndex);
    return p;
}
TPoints PointsOf(const TZelMultiElementEx& m) {
    TPoints p;
    for (size_t k = 0; k < m.onEvent.size(); ++k) p.emplace_back("onEvent[" + std::to_string(k) + "]", &m.onEvent[k]);
    for (size_t k = 0; k < m.InData.size(); ++k) p.emplace_back("InData[" + std::to_string(k) + "]", &m.InData[k]);
    return p;
}
TPoints PointsOf(const TZelComAsync& s) {
    return {{"onWrite", &s.onWrite},       {"onRead", &s.onRead},
            {"onPort", &s.onPort},         {"onRxChar", &s.onRxChar},
            {"onRing", &s.onRing},         {"onCTS", &s.onCTS},
            {"onDSR", &s.onDSR},           {"onRLSD", &s.onRLSD},
            {"onRxFlag", &s.onRxFlag},     {"onBreak", &s.onBreak},
            {"onRx80Full", &s.onRx80Full}, {"onTxEmpty", &s.onTxEmpty},
            {"onError", &s.onError},       {"onBeforeOpen", &s.onBeforeOpen},
            {"onOpen", &s.onOpen},         {"onBeforeClose", &s.onBeforeClose},
            {"onClose", &s.onClose},       {"BaudRate", &s.BaudRatePoint},
            {"Port", &s.PortPoint},        {"DTR", &s.DTRPoint},
            {"RTS", &s.RTSPoint}};
}
TPoints PointsOf(const TZelDoData& d) { return {{"onEventData", &d.onEventData}, {"Data", &d.DataPoint}}; }
TPoints PointsOf(const TZelEventFromData& e) { return {{"Data", &e.Data}, {"onEvent", &e.onEvent}}; }

class TScheme {
public:
    explicit TScheme(std::vector<TNamed> elements) : elements_(std::move(elements)) {
        for (const TNamed& e : elements_) byAddress_[e.element] = &e;
    }
    const TNamed* Find(const char* name) const {
        for (const TNamed& e : elements_)
            if (std::string(e.name) == name) return &e;
        return nullptr;
    }
    const TNamed* Of(const void* element) const {
        const auto it = byAddress_.find(element);
        return it == byAddress_.end() ? nullptr : it->second;
    }
    const std::vector<TNamed>& Elements() const { return elements_; }

private:
    std::vector<TNamed> elements_;
    std::map<const void*, const TNamed*> byAddress_;
};

// One element's links as text, leaving out those whose target the other
// scheme does not have.
std::vector<std::string> Described(const TPoints& points, const TScheme& own, const TScheme& other) {
    std::vector<std::string> out;
    for (const auto& [point, link] : points) {
        if (!link->Linked()) continue;
        const TNamed* target = own.Of(link->Target);
        const std::string targetName = target ? target->name : "(outside the scheme)";
        const TNamed* counterpart = target ? other.Find(target->name) : nullptr;
        if (target && !counterpart) continue;
        std::string method = "a method of another kind";
        if (counterpart && *counterpart->kind == *target->kind) {
            char address[32];
            std::snprintf(address, sizeof address, "%p", reinterpret_cast<const void*>(link->Method));
            method = address;
        }
        out.push_back(point + " -> " + targetName + " " + method + " index " + std::to_string(link->Index));
    }
    return out;
}

template <class T>
std::vector<std::string> DescribedAs(const TNamed& e, const TScheme& own, const TScheme& other) {
    return Described(PointsOf(*static_cast<const T*>(e.element)), own, other);
}

std::vector<std::string> LinksOf(const TNamed& e, const TScheme& own, const TScheme& other) {
    if (*e.kind == typeid(TZelHub)) return DescribedAs<TZelHub>(e, own, other);
    if (*e.kind == typeid(TZelCommutator)) return DescribedAs<TZelCommutator>(e, own, other);
    if (*e.kind == typeid(TZelMultiElementEx)) return DescribedAs<TZelMultiElementEx>(e, own, other);
    if (*e.kind == typeid(TZelComAsync)) return DescribedAs<TZelComAsync>(e, own, other);
    if (*e.kind == typeid(TZelDoData)) return DescribedAs<TZelDoData>(e, own, other);
    if (*e.kind == typeid(TZelEventFromData)) return DescribedAs<TZelEventFromData>(e, own, other);
    return {};
}

class TopLevelSchemes : public GuiTest {};

TEST_F(TopLevelSchemes, ConsoleSchemeLinksWhatItSharesAsTheWindowSchemeDoes) {
    auto window = std::make_unique<TClassSimpleForm_25EFC10>();
    TClassConsoleFlash console(false);
    const TClassSimpleForm_25EFC10& w = *window;
    const TScheme windowScheme({
        Named("MainForm", w.MainForm),
        Named("ErrorText", w.ErrorText),
        Named("CheckText", w.CheckText),
        Named("WriteButton", w.WriteButton),
        Named("StatusEdit", w.StatusEdit),
        Named("PortBox", w.PortBox),
        Named("WriteHub", w.Exchange.WriteHub),
        Named("Detector", w.Exchange.Detector),
        Named("Uploader", w.Exchange.Uploader),
        Named("ReplyRouter", w.Exchange.ReplyRouter),
        Named("SerialPort", w.Exchange.SerialPort),
        Named("UploadHub", w.UploadHub),
        Named("UploadProgress", w.UploadProgress),
        Named("DeviceFoundHub", w.DeviceFoundHub),
        Named("LockPortBox", w.LockPortBox),
        Named("ClosePortHub", w.Exchange.ClosePortHub),
        Named("VersionLabel", w.VersionLabel),
        Named("CRCStore", w.CRCStore),
        Named("CRCReceivedLabel", w.CRCReceivedLabel),
        Named("CRCLabel", w.CRCLabel),
        Named("WriteEnableHub", w.WriteEnableHub),
        Named("PortName", w.Exchange.PortName),
        Named("PortPickHub", w.Exchange.PortPickHub),
        Named("UploadEndHub", w.UploadEndHub),
        Named("HideControls", w.HideControls),
        Named("ShowOK", w.ShowOK),
        Named("HideHub", w.HideHub),
        Named("FormEnableHub", w.FormEnableHub),
        Named("OKHub", w.OKHub),
        Named("OKButton", w.OKButton),
        Named("SuccessLabel", w.SuccessLabel),
        Named("SuccessHub", w.SuccessHub),
        Named("ShowSuccess", w.ShowSuccess),
        Named("ErrorShow", w.ErrorShow),
        Named("UploadErrorHub", w.UploadErrorHub),
        Named("ErrorViewHub", w.ErrorViewHub),
        Named("ErrorImage", w.ErrorImage),
        Named("SuccessMark", w.SuccessMark),
        Named("MarkSuccess", w.MarkSuccess),
    });
    const TClassConsoleFlash& c = console;
    const TScheme consoleScheme({
        Named("ErrorText", c.ErrorText),
        Named("CheckText", c.CheckText),
        Named("WriteButton", c.WriteButton),
        Named("StatusEdit", c.StatusEdit),
        Named("WriteHub", c.Exchange.WriteHub),
        Named("Detector", c.Exchange.Detector),
        Named("Uploader", c.Exchange.Uploader),
        Named("ReplyRouter", c.Exchange.ReplyRouter),
        Named("SerialPort", c.Exchange.SerialPort),
        Named("UploadHub", c.UploadHub),
        Named("UploadProgress", c.UploadProgress),
        Named("DeviceFoundHub", c.DeviceFoundHub),
        Named("ClosePortHub", c.Exchange.ClosePortHub),
        Named("CRCStore", c.CRCStore),
        Named("WriteEnableHub", c.WriteEnableHub),
        Named("PortName", c.Exchange.PortName),
        Named("PortPickHub", c.Exchange.PortPickHub),
        Named("SuccessLabel", c.SuccessLabel),
        Named("SuccessHub", c.SuccessHub),
        Named("ShowSuccess", c.ShowSuccess),
        Named("ErrorShow", c.ErrorShow),
        Named("UploadErrorHub", c.UploadErrorHub),
        Named("ErrorViewHub", c.ErrorViewHub),
        Named("SuccessMark", c.SuccessMark),
        Named("MarkSuccess", c.MarkSuccess),
        Named("NotFound", c.NotFound),
        Named("ErrorDetail", c.ErrorDetail),
        Named("Finished", c.Finished),
        Named("PortList", c.PortList),
    });

    int compared = 0;
    for (const TNamed& e : windowScheme.Elements()) {
        const TNamed* twin = consoleScheme.Find(e.name);
        if (!twin || *twin->kind != *e.kind) continue;  // a control and its console stand-in
        const std::vector<std::string> inWindow = LinksOf(e, windowScheme, consoleScheme);
        EXPECT_EQ(LinksOf(*twin, consoleScheme, windowScheme), inWindow) << e.name;
        compared += int(inWindow.size());
    }
    // The shared part is most of the window scheme's 59 links.
    EXPECT_GE(compared, 30);
    window.reset();
}

}  // namespace
