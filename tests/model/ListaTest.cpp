#include "model/Lista.h"

#include <gtest/gtest.h>

#include "model/MapArena.h"

namespace {

// An element that counts its destructions, so tests see each one freed exactly once.
struct Counted : TArenaElement<Counted> {
    explicit Counted(int* destroyed) : destroyed_(destroyed) {}
    ~Counted() { ++*destroyed_; }
    int* destroyed_;
};
using CountedList = ListOf<Counted>;

// An element whose destructor releases nothing.
struct Plain : TArenaElement<Plain> {};

// Exposes the protected marker for the tests.
struct MarkingList : CountedList {
    using TLista::SetMarked;
};

TElement* AddCounted(CountedList& list, int* destroyed) {
    auto e = std::make_unique<Counted>(destroyed);
    TElement* raw = e.get();
    list.Add(std::move(e));
    return raw;
}

}  // namespace

TEST(Lista, EmptyListRefusesEverything) {
    CountedList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CurrentItem(), nullptr);
    EXPECT_FALSE(list.Next());
    EXPECT_FALSE(list.DeleteCurrent());
    list.GoFirst();
    list.GoLast();
    EXPECT_EQ(list.CurrentItem(), nullptr);
    EXPECT_EQ(list.TakeCurrent(), nullptr);
}

TEST(Lista, AddAppendsAtTheTailWhateverTheCursor) {
    int destroyed = 0;
    CountedList list;
    TElement* a = AddCounted(list, &destroyed);
    EXPECT_EQ(list.First(), a);
    EXPECT_EQ(list.Last(), a);
    EXPECT_EQ(list.CurrentItem(), a);
    EXPECT_EQ(a->GetNext(), nullptr);
    EXPECT_EQ(a->GetPrev(), nullptr);
    TElement* b = AddCounted(list, &destroyed);
    TElement* c = AddCounted(list, &destroyed);
    list.GoFirst();
    TElement* d = AddCounted(list, &destroyed);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.CurrentItem(), d);
    EXPECT_EQ(c->GetNext(), d);
    EXPECT_EQ(d->GetPrev(), c);
    EXPECT_EQ(a->GetNext(), b);
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(list.CurrentItem(), d);
}

TEST(Lista, DeleteCurrentMovesTheCursorAndKeepsTheEnds) {
    int destroyed = 0;
    CountedList list;
    TElement* a = AddCounted(list, &destroyed);
    TElement* b = AddCounted(list, &destroyed);
    TElement* c = AddCounted(list, &destroyed);

    list.GoFirst();
    auto first = list.TakeCurrent();
    EXPECT_EQ(first.get(), a);
    EXPECT_EQ(list.First(), b);
    EXPECT_EQ(list.CurrentItem(), b);
    EXPECT_EQ(b->GetPrev(), nullptr);
    EXPECT_EQ(a->GetNext(), b);  // the unlinked element keeps its old links

    list.GoLast();
    auto last = list.TakeCurrent();
    EXPECT_EQ(last.get(), c);
    EXPECT_EQ(list.Last(), b);
    EXPECT_EQ(list.CurrentItem(), b);

    auto only = list.TakeCurrent();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.CurrentItem(), nullptr);
    EXPECT_EQ(destroyed, 0);
}

TEST(Lista, DeletingTheMarkedElementInvalidatesTheMark) {
    int destroyed = 0;
    MarkingList list;
    TElement* a = AddCounted(list, &destroyed);
    TElement* b = AddCounted(list, &destroyed);
    list.SetMarked(a);
    list.GoLast();
    auto other = list.TakeCurrent();
    EXPECT_EQ(list.MarkedValid(), 1);
    list.GoFirst();
    auto marked = list.TakeCurrent();
    EXPECT_EQ(list.MarkedValid(), 0);
    EXPECT_EQ(list.Marked(), a);
    EXPECT_EQ(other.get(), b);
}

TEST(Lista, DestroyFreesEveryLinkedElementOnceAndLeavesUnlinkedOnes) {
    int destroyed = 0;
    std::unique_ptr<Counted> kept;
    {
        CountedList list;
        for (int i = 0; i < 5; ++i) AddCounted(list, &destroyed);
        list.GoFirst();
        list.Next();
        kept = list.TakeCurrent();
    }
    EXPECT_EQ(destroyed, 4);
    kept.reset();
    EXPECT_EQ(destroyed, 5);
}

TEST(Lista, WalkVisitsEveryElementInOrder) {
    int destroyed = 0;
    CountedList list;
    std::vector<TElement*> added;
    for (int i = 0; i < 4; ++i) added.push_back(AddCounted(list, &destroyed));
    std::vector<TElement*> seen;
    list.GoFirst();
    do seen.push_back(list.CurrentItem());
    while (list.Next());
    EXPECT_EQ(seen, added);
}

// Elements and lists made in a map's storage: deleting one runs its destructor once and leaves
// the memory to the storage, wherever the element is deleted and with heap elements beside it.
TEST(Lista, ElementsMadeInStorageOfTheirOwn) {
    int destroyed = 0;
    MapArena arena;
    {
        auto list = MakeInArena<MarkingList>(arena);
        list->Add(MakeInArena<Counted>(arena, &destroyed));
        TElement* a = list->Last();
        TElement* b = AddCounted(*list, &destroyed);
        list->Add(MakeInArena<Counted>(arena, &destroyed));
        TElement* c = list->Last();
        EXPECT_EQ(b->GetPrev(), a);
        EXPECT_EQ(c->GetPrev(), b);
        list->SetMarked(a);
        list->GoFirst();
        list->TakeCurrent().reset();  // a: made in the arena
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(b->GetPrev(), nullptr);
        EXPECT_EQ(list->MarkedValid(), 0);
        auto unlinked = MakeInArena<Counted>(arena, &destroyed);  // never linked
    }
    EXPECT_EQ(destroyed, 4);
    // Elements with nothing to release are not visited; the others are.
    {
        ListOf<Plain> plain;
        for (int i = 0; i < 3; ++i) plain.Add(MakeInArena<Plain>(arena));
        EXPECT_TRUE(plain.First()->NeedsNoDestruction());
        EXPECT_EQ(plain.Last()->GetPrev(), plain.First()->GetNext());
        CountedList counted;
        counted.Add(MakeInArena<Counted>(arena, &destroyed));
        EXPECT_FALSE(counted.Last()->NeedsNoDestruction());
    }
    EXPECT_EQ(destroyed, 5);
}
