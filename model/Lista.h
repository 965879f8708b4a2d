#pragma once

#include <cstdint>
#include <memory>
#include <new>

// The intrusive doubly linked list with one cursor on which every collection of the map model and
// the shapefile layer is built. Elements carry their own links; a list owns what is linked into it.
//
// Elements carry no table of virtual operations: a map holds millions of points and vertices, and
// eight bytes more on each would be a third of a vertex. A list knows the kind of its elements
// (ListOf) and destroys each as what it is. Elements and lists are made on the heap, or by a
// map's list in storage of its own (MapArena.h): deleting either kind runs its destructor, and only
// a heap one is then freed.

class MapArena;

class TElement {
  public:
    TElement() = default;
    TElement(const TElement&) = delete;
    TElement& operator=(const TElement&) = delete;

    TElement* GetNext() const { return next_; }
    void SetNext(TElement* next) { next_ = next; }
    TElement* GetPrev() const { return reinterpret_cast<TElement*>(prev_ & ~kMarks); }
    void SetPrev(TElement* prev) {
        prev_ = reinterpret_cast<std::uintptr_t>(prev) | (prev_ & kMarks);
    }
    bool InArena() const { return (prev_ & kInArena) != 0; }
    // Made in an arena, of a type whose destructor releases nothing: a list may drop it without
    // visiting it.
    bool NeedsNoDestruction() const { return (prev_ & kNothingToRelease) != 0; }

  protected:
    // Not virtual: an element is destroyed as the type it is (by its list, or by its owner).
    ~TElement() = default;

  private:
    template <class T, class... Args>
    friend std::unique_ptr<T> MakeInArena(MapArena& arena, Args&&... args);
    void MarkInArena(bool releasesNothing) {
        prev_ |= kInArena | (releasesNothing ? kNothingToRelease : 0);
    }

    // The lowest bits of the (aligned) previous element's address carry the two marks, which
    // keeps an element within the size of its two plain links.
    static constexpr std::uintptr_t kInArena = 1;
    static constexpr std::uintptr_t kNothingToRelease = 2;
    static constexpr std::uintptr_t kMarks = kInArena | kNothingToRelease;
    TElement* next_ = nullptr;
    std::uintptr_t prev_ = 0;
};

// Base of the element kinds a map's list may make in its own storage: deleting one (through a
// std::unique_ptr as well) runs its destructor and frees the memory only when it came from the
// heap. T is the kind itself, which nothing derives from.
template <class T>
class TArenaElement : public TElement {
  public:
    static void* operator new(std::size_t size) { return ::operator new(size); }
    // Only for a constructor that throws: a made element is deleted by the operator below.
    static void operator delete(void* memory) noexcept { ::operator delete(memory); }
    static void operator delete(TArenaElement* element, std::destroying_delete_t) noexcept {
        T* self = static_cast<T*>(element);
        const bool inArena = self->InArena();
        self->~T();
        if (!inArena) ::operator delete(static_cast<void*>(self));
    }
};

class TLista {
  public:
    TLista() = default;
    // The list of a kind (ListOf) has destroyed its elements before this runs.
    virtual ~TLista() = default;
    TLista(const TLista&) = delete;
    TLista& operator=(const TLista&) = delete;

    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* memory) noexcept { ::operator delete(memory); }
    static void operator delete(TLista* list, std::destroying_delete_t) noexcept;

    // Unlinks the current element without freeing it: from then on it belongs to the caller.
    // The cursor moves to the successor, or to the predecessor at the tail. False when empty.
    virtual bool DeleteCurrent();

    bool Next();
    TElement* CurrentItem() const { return current_; }
    void GoFirst() { current_ = first_; }
    void GoLast() { current_ = last_; }

    std::int32_t Count() const { return count_; }
    TElement* First() const { return first_; }
    TElement* Last() const { return last_; }
    std::uint8_t MarkedValid() const { return markedValid_; }
    TElement* Marked() const { return marked_; }

  protected:
    // Appends at the tail, whatever the cursor, and makes the element current; the list owns it
    // from then on.
    void Link(TElement* e) {
        if (!e->NeedsNoDestruction()) visitOnDestroy_ = true;
        if (first_ == nullptr) {
            first_ = e;
            e->SetPrev(nullptr);
        } else {
            last_->SetNext(e);
            e->SetPrev(last_);
        }
        last_ = e;
        e->SetNext(nullptr);
        current_ = e;
        ++count_;
    }
    // Lets a derived list remember one of its elements between calls.
    void SetMarked(TElement* element) {
        marked_ = element;
        markedValid_ = element != nullptr ? 1 : 0;
    }
    // Some element linked at some time needs its destructor: destroying the list visits them all.
    bool VisitOnDestroy() const { return visitOnDestroy_; }
    // Forgets every element (which the caller has destroyed): the list is empty.
    void Forget() {
        first_ = current_ = last_ = nullptr;
        count_ = 0;
        markedValid_ = 0;
    }

  private:
    template <class T, class... Args>
    friend std::unique_ptr<T> MakeInArena(MapArena& arena, Args&&... args);
    void MarkInArena(bool) { inArena_ = true; }

    TElement* first_ = nullptr;
    TElement* current_ = nullptr;
    TElement* last_ = nullptr;
    TElement* marked_ = nullptr;
    std::int32_t count_ = 0;
    std::uint8_t markedValid_ = 0;
    bool inArena_ = false;
    bool visitOnDestroy_ = false;
};

// A list of elements of one kind T, which it destroys as T.
template <class T>
class ListOf : public TLista {
  public:
    ~ListOf() override { DestroyElements(); }

    // Appends at the tail, whatever the cursor, and makes the element current. Always true.
    bool Add(std::unique_ptr<T> element) {
        Link(element.release());
        return true;
    }
    // DeleteCurrent that hands the unlinked element back with its ownership; nullptr when empty.
    std::unique_ptr<T> TakeCurrent() {
        TElement* c = CurrentItem();
        if (!DeleteCurrent()) return nullptr;
        return std::unique_ptr<T>(static_cast<T*>(c));
    }

  protected:
    // Destroys every linked element and leaves the list empty.
    void DestroyElements() {
        TElement* element = VisitOnDestroy() ? First() : nullptr;
        while (element != nullptr) {
            TElement* next = element->GetNext();
            delete static_cast<T*>(element);
            element = next;
        }
        Forget();
    }
};
