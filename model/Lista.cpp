#include "model/Lista.h"

void TLista::operator delete(TLista* list, std::destroying_delete_t) noexcept {
    const bool inArena = list->inArena_;
    void* whole = dynamic_cast<void*>(list);
    list->~TLista();
    if (!inArena) ::operator delete(whole);
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

bool TLista::Next() {
    if (count_ < 1 || current_->GetNext() == nullptr) return false;
    current_ = current_->GetNext();
    return true;
}
