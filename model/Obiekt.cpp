#include "model/Obiekt.h"

#include <algorithm>

#include "model/FormatSettings.h"
#include "platform/NumberText.h"
#include "platform/ShortString.h"

namespace {

// Slot of the attribute block for an id, or -1.
int SlotOf(std::int32_t id) {
    switch (id) {
        case kAttrA1:
            return 0;
        case kAttrA2:
            return 1;
        case kAttrA3:
            return 2;
        case kAttrA4:
            return 3;
        case kAttrA5:
            return 4;
        case kAttrA6:
            return 5;
        case kAttrID:
            return 6;
        default:
            return -1;
    }
}

std::size_t Limit(std::int32_t maxLen) {
    return maxLen < 0 ? 0 : static_cast<std::size_t>(maxLen);
}

}  // namespace

bool TListaNr::GetCurrentVertex(std::string& Name, double& X, double& Y, float& H,
                                std::uint8_t& Flags) const {
    const TPunkt* p = CurrentVertex()->PointRef;
    Name = p->Name;
    X = p->X;
    Y = p->Y;
    H = p->H;
    Flags = p->Flags;
    return true;
}

bool TListaNr::DeleteVertex() {
    return TakeCurrent() != nullptr;
}

TObiekt::TObiekt(std::string_view Code, std::string_view A1, std::string_view A2,
                 std::string_view A3, std::string_view A4, std::string_view A5, std::string_view A6,
                 std::string_view Text, std::int32_t LineNo)
    : TObiekt(Code, LineNo, std::make_unique<TListaNr>()) {
    const std::string_view given[6] = {A1, A2, A3, A4, A5, A6};
    const std::int32_t ids[6] = {kAttrA1, kAttrA2, kAttrA3, kAttrA4, kAttrA5, kAttrA6};
    for (int i = 0; i < 6; ++i)
        if (!given[i].empty()) SetAttribute(ids[i], given[i]);
    SetText(Text);
}

TObiekt::TObiekt(std::string_view Code, std::int32_t LineNo, std::unique_ptr<TListaNr> Vertices)
    : Code(Code), LineNo(LineNo), Vertices(std::move(Vertices)) {}

void TObiekt::SetAttribute(std::int32_t Id, std::string_view Value) {
    if (Id == 9 || Id == 10) return;
    switch (Id) {
        case kAttrTX:
            SetText(Value);
            break;
        case kAttrKR:
            KR = Value.substr(0, platform::kAttributeMax);
            break;
        case kAttrDT:
        case kAttrMP:
        case kAttrFA: {
            if (Id == kAttrDT) GlobalNumberFormat.SetDecimalSeparator('.');
            if (auto number = platform::StrToIntStrict(Value)) {
                (Id == kAttrDT ? DT : Id == kAttrMP ? MP : FA) = *number;
            }
            break;
        }
        default:
            break;
    }
    const int slot = SlotOf(Id);
    if (slot >= 0)
        Attributes.Set(slot, Value.substr(0, platform::kAttributeMax));
    else
        Attributes.Allocate();
}

void TObiekt::GetAttribute(std::int32_t Id, std::string& Value, std::int32_t MaxLen) const {
    switch (Id) {
        case kAttrTX:
            GetText(Value, MaxLen);
            return;
        case kAttrKR:
            Value = platform::Cut(KR, Limit(MaxLen));
            return;
        case kAttrDT:
            Value = platform::Cut(std::to_string(DT), Limit(MaxLen));
            return;
        case kAttrMP:
            Value = platform::Cut(std::to_string(MP), Limit(MaxLen));
            return;
        case kAttrFA:
            Value = platform::Cut(std::to_string(FA), Limit(MaxLen));
            return;
        default:
            break;
    }
    const int slot = SlotOf(Id);
    if (slot < 0) {
        Value.clear();
        return;
    }
    Value = platform::Cut(Attributes.Get(slot), Limit(MaxLen));
}

void TObiekt::GetText(std::string& Result, std::int32_t MaxLen) const {
    Result = platform::Cut(Text, std::min(platform::kShortStringMax, Limit(MaxLen)));
}

void TObiekt::SetText(std::string_view NewText) {
    Text = NewText;
}

void TObiekt::SetVector(std::int32_t Index, float A, float B, float C) {
    if (Index < 1 || Index > 3) return;
    const auto slot = static_cast<std::size_t>(Index - 1);
    if (A == 0.0f && B == 0.0f && C == 0.0f)
        Vectors.Clear(slot);
    else
        Vectors.Set(slot, {A, B, C});
}

void TObiekt::GetVector(std::int32_t Index, float& A, float& B, float& C) const {
    A = B = C = 0.0f;
    if (Index < 1 || Index > 3) return;
    const VectorSlots::Triple* v = Vectors[static_cast<std::size_t>(Index - 1)];
    if (v == nullptr) return;
    A = (*v)[0];
    B = (*v)[1];
    C = (*v)[2];
}

void TObiekt::ComputeExtent() {
    if (!HasVertices()) return;
    bool first = true;
    for (const TElement* e = Vertices->First(); e != nullptr; e = e->GetNext()) {
        ExtendExtent(*static_cast<const TNumer*>(e)->PointRef, first);
        first = false;
    }
}
