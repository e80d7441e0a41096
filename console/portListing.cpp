#include "portListing.h"

#include <nlohmann/json.hpp>
#include <string_view>

#include "console/flashSession.h"
#include "console/zelConsoleFlash.h"
#include "platform/terminal.h"

std::string PortLine(const std::string& name, const platform::TPortFacts& facts) {
    std::string line = name;
    if (!facts.DevicePath.empty()) line += " " + facts.DevicePath;
    if (!facts.UsbVendor.empty()) line += " usb=" + facts.UsbVendor + ":" + facts.UsbProduct;
    if (!facts.Serial.empty()) line += " serial=" + facts.Serial;
    if (!facts.StableName.empty()) line += " by-id=" + facts.StableName;
    if (!facts.Location.empty()) line += " usb-path=" + facts.Location;
    if (!facts.PathName.empty()) line += " by-path=" + facts.PathName;
    if (!facts.Driver.empty()) line += " driver=" + facts.Driver;
    std::string product = facts.Manufacturer;
    if (!facts.Product.empty()) product += (product.empty() ? "" : " ") + facts.Product;
    if (!product.empty()) line += " product=\"" + product + "\"";
    return line;
}

std::string PortJson(const std::string& name, const platform::TPortFacts& facts) {
    const nlohmann::ordered_json port = {
        {"name", name},
        {"path", facts.DevicePath},
        {"usb_vendor", facts.UsbVendor},
        {"usb_product", facts.UsbProduct},
        {"serial", facts.Serial},
        {"manufacturer", facts.Manufacturer},
        {"product", facts.Product},
        {"by_id", facts.StableName},
        {"location", facts.Location},
        {"by_path", facts.PathName},
        {"driver", facts.Driver},
    };
    return port.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int ListPortsToOutput(bool json) {
    EnableDispatch();
    bool any = false;
    {
        TClassConsoleFlash scheme(false);
        // The names come from the port element as the window's list gets
        // them, a line each.
        scheme.PortList->Output = [json, &any](std::string_view text) {
            any = true;
            std::string name(text);
            while (!name.empty() && name.back() == '\n') name.pop_back();
            const platform::TPortFacts facts = platform::DescribePort(name);
            platform::WriteOutput((json ? PortJson(name, facts) : PortLine(name, facts)) + "\n");
        };
        scheme.ListPorts();
        DisableDispatch();
    }
    // Said aside, so that a script reading the list finds it empty.
    if (!any) platform::WriteError("quarnelvisk-flash: no serial ports found\n");
    return FlashSucceeded;
}
