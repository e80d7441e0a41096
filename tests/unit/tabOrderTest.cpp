#include "base/tabOrder.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct TItem {
    char name;
};

class TabOrder : public ::testing::Test {
protected:
    TItem a{'a'}, b{'b'}, c{'c'}, d{'d'};
    TTabOrder<TItem> order;
    std::set<const TItem*> off;  // cannot take the focus now

    void SetUp() override {
        for (TItem* x : {&a, &b, &c, &d}) order.Add(x);
    }
    char Next(const TItem* from, bool forward) const {
        const TItem* next = order.Next(from, forward, [&](const TItem& x) { return !off.count(&x); });
        return next ? next->name : '-';
    }
};

TEST_F(TabOrder, VisitsInCreationOrderSkippingWhatCannotStopAndWraps) {
    EXPECT_EQ(Next(nullptr, true), 'a');
    EXPECT_EQ(Next(nullptr, false), 'd');
    off = {&b};
    EXPECT_EQ(Next(&a, true), 'c');
    EXPECT_EQ(Next(&c, false), 'a');
    EXPECT_EQ(Next(&d, true), 'a');
    EXPECT_EQ(Next(&a, false), 'd');
    EXPECT_EQ(Next(&b, true), 'a') << "from a control that cannot stop: the first that can";
    off = {&a, &b, &c};
    EXPECT_EQ(Next(&d, true), 'd') << "the only stop is its own next";
    off = {&a, &b, &c, &d};
    EXPECT_EQ(Next(&a, true), '-');
}

TEST_F(TabOrder, MovedAndRemovedControlsKeepTheOthersInOrder) {
    order.MoveTo(&d, 1);
    EXPECT_EQ(Next(nullptr, true), 'd');
    EXPECT_EQ(Next(&d, true), 'a');
    order.MoveTo(&a, 99);  // past the end: last
    EXPECT_EQ(Next(&c, true), 'a');
    EXPECT_EQ(Next(&a, true), 'd');
    order.Remove(&b);
    EXPECT_EQ(Next(&d, true), 'c');
    TItem e{'e'};
    EXPECT_EQ(order.Add(&e), 5) << "numbers count every control ever added";
}

}  // namespace
