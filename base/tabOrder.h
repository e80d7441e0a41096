#pragma once
// The order in which the tab key visits a window's controls. It starts as
// their creation order; a control may be moved to another place, and the
// visit skips whatever cannot take the focus at that moment (hidden,
// disabled, or no tab stop), wrapping round at either end.
#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
class TTabOrder {
public:
    // A control created: it goes last. Returns its number, counted from 1
    // over every control ever added.
    int Add(T* control) {
        order_.push_back(control);
        return ++added_;
    }
    void Remove(T* control) { order_.erase(std::remove(order_.begin(), order_.end(), control), order_.end()); }
    // Moves control to place (1 = first); a place past the end is the end.
    void MoveTo(T* control, int place) {
        Remove(control);
        const size_t at = std::min(size_t(std::max(place, 1) - 1), order_.size());
        order_.insert(order_.begin() + std::ptrdiff_t(at), control);
    }
    // The stop after (forward) or before current among the controls that
    // canStop accepts; the first (or last) when current is not one of them;
    // null when there is none.
    template <class CanStop>
    T* Next(const T* current, bool forward, CanStop canStop) const {
        std::vector<T*> stops;
        for (T* c : order_)
            if (canStop(*c)) stops.push_back(c);
        if (stops.empty()) return nullptr;
        const auto it = std::find(stops.begin(), stops.end(), current);
        if (it == stops.end()) return forward ? stops.front() : stops.back();
        const size_t i = size_t(it - stops.begin());
        const size_t n = stops.size();
        return stops[forward ? (i + 1) % n : (i + n - 1) % n];
    }

private:
    std::vector<T*> order_;
    int added_ = 0;
};
