#pragma once

#include <cstdint>
#include <memory>

// The intrusive doubly linked list with one cursor on which every collection of the map model and
// the shapefile layer is built. Elements carry their own links; a list owns what is linked into it.

class TElement {
  public:
    TElement() = default;
    virtual ~TElement() = default;
    TElement(const TElement&) = delete;
    TElement& operator=(const TElement&) = delete;

    TElement* GetNext() const { return next_; }
    void SetNext(TElement* next) { next_ = next; }
    TElement* GetPrev() const { return prev_; }
    void SetPrev(TElement* prev) { prev_ = prev; }

  private:
    TElement* next_ = nullptr;
    TElement* prev_ = nullptr;
};

class TLista {
  public:
    TLista() = default;
    // Destroys every element still linked, each through its own virtual destructor.
    virtual ~TLista();
    TLista(const TLista&) = delete;
    TLista& operator=(const TLista&) = delete;

    // Unlinks the current element without freeing it: from then on it belongs to the caller.
    // The cursor moves to the successor, or to the predecessor at the tail. False when empty.
    virtual bool DeleteCurrent();
    // Appends at the tail, whatever the cursor, and makes the element current. Always true.
    virtual bool Add(std::unique_ptr<TElement> element);

    // DeleteCurrent that hands the unlinked element back with its ownership; nullptr when empty.
    std::unique_ptr<TElement> TakeCurrent();

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
    // Lets a derived list remember one of its elements between calls.
    void SetMarked(TElement* element) {
        marked_ = element;
        markedValid_ = element != nullptr ? 1 : 0;
    }

  private:
    std::int32_t count_ = 0;
    TElement* first_ = nullptr;
    TElement* current_ = nullptr;
    TElement* last_ = nullptr;
    std::uint8_t markedValid_ = 0;
    TElement* marked_ = nullptr;
};
