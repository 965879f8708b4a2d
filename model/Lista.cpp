#include "model/Lista.h"

void TElement::operator delete(TElement* element, std::destroying_delete_t) noexcept {
    const bool inArena = element->InArena();
    void* whole = dynamic_cast<void*>(element);
    element->~TElement();
    if (!inArena) ::operator delete(whole);
}

void TLista::operator delete(TLista* list, std::destroying_delete_t) noexcept {
    const bool inArena = list->inArena_;
    void* whole = dynamic_cast<void*>(list);
    list->~TLista();
    if (!inArena) ::operator delete(whole);
}

TLista::~TLista() {
    DestroyElements();
}

void TLista::DestroyElements() {
    TElement* element = visitOnDestroy_ ? first_ : nullptr;
    while (element != nullptr) {
        TElement* next = element->GetNext();
        delete element;
        element = next;
    }
    first_ = current_ = last_ = nullptr;
    count_ = 0;
    markedValid_ = 0;
}

bool TLista::DeleteCurrent() {
    if (count_ < 1) return false;
    TElement* c = current_;
    TElement* n = c->GetNext();
    TElement* p = c->GetPrev();
    if (p != nullptr) p->SetNext(n);
    if (n != nullptr) n->SetPrev(p);
    if (c == first_) first_ = n;
    if (c == last_) last_ = p;
    current_ = n != nullptr ? n : p;
    --count_;
    if (markedValid_ == 1 && c == marked_) markedValid_ = 0;
    return true;
}

std::unique_ptr<TElement> TLista::TakeCurrent() {
    TElement* c = current_;
    if (!DeleteCurrent()) return nullptr;
    return std::unique_ptr<TElement>(c);
}

bool TLista::Next() {
    if (count_ < 1 || current_->GetNext() == nullptr) return false;
    current_ = current_->GetNext();
    return true;
}
