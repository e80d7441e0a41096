#pragma once
// The text of a window control as threads other than the window's own see
// it. Setting a window's text takes its owning thread, and waiting for that
// thread is most of an upload step under Wine, so:
// - a text handed over from another thread is kept here and one message is
//   posted for any number of them; readers get it until the window has it;
// - a copy of the window's own text, refreshed by the owning thread at every
//   change, answers readers without waiting, where the kind of window tells
//   of every change.
// Every call is safe from any thread; the owning thread alone applies.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

class TTextHandOver {
public:
    // What a reader on another thread gets without asking the window: the
    // text handed over, else the known copy; nothing when neither is there.
    std::optional<std::string> ForReader() const;
    // Keeps text for the window; true when the caller is to post the one
    // message that applies it (none is waiting yet).
    bool HandOver(const std::string& text);
    // A text set directly wins over one handed over before.
    void Drop();
    // The owning thread applies the handed-over text with apply(text) until
    // nothing newer came meanwhile; a text handed over during apply (which
    // posted nothing) is applied in turn.
    template <class Apply>
    void ApplyPending(Apply apply) {
        std::string text;
        uint64_t generation = 0;
        while (Take(text, generation)) {
            apply(text);
            if (Settle(generation)) return;
        }
    }
    // The window's own text after a change, or invalid where the kind of
    // window does not tell of its changes.
    void Know(std::string text, bool valid);

private:
    bool Take(std::string& text, uint64_t& generation) const;
    bool Settle(uint64_t generation);

    mutable std::mutex lock_;
    std::string known_;
    bool knownValid_ = false;
    std::string handed_;
    bool pending_ = false;
    uint64_t generation_ = 0;
};
