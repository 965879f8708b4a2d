#include "model/Symbols.h"

#include "model/MapFile.h"
#include "model/ModelTexts.h"
#include "model/PolishLetters.h"
#include "model/TextTrim.h"
#include "platform/NumberText.h"
#include "platform/OsError.h"
#include "platform/ShortString.h"
#include "platform/TextFile.h"

namespace {

bool IsAsciiLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Parameters zeroed by ResetSymbolParams: (class digit, kind) and a bit per parameter, P1 lowest.
struct ResetRule {
    char classDigit;
    char kind;
    unsigned params;
};
constexpr unsigned P(int n) {
    return 1u << (n - 1);
}
constexpr ResetRule kResetRules[] = {
    {'1', 'A', P(4)},
    {'1', 'F', P(1) | P(2) | P(3) | P(4)},
    {'1', 'I', P(3) | P(6)},
    {'1', 'L', P(5) | P(6)},
    {'1', 'V', P(3) | P(4) | P(5) | P(6)},
    {'1', 'W', P(5) | P(6)},
    {'2', 'I', P(3) | P(6)},
    {'2', 'V', P(3) | P(6)},
    {'3', 'A', P(4)},
    {'3', 'C', P(1) | P(2) | P(4)},
    {'3', 'I', P(3) | P(6)},
    {'3', 'V', P(4)},
    {'4', 'G', P(3) | P(4) | P(5) | P(6)},
    {'4', 'L', P(5) | P(6)},
    {'5', 'I', P(3) | P(6)},
    {'5', 'O', P(2) | P(3) | P(4) | P(5) | P(6)},
    {'5', 'S', P(2) | P(3) | P(4)},
};

unsigned ParamsToReset(char classDigit, char kind) {
    for (const ResetRule& rule : kResetRules)
        if (rule.classDigit == classDigit && rule.kind == kind) return rule.params;
    return 0;
}

// A primitive line: " ", the kind, six numbers; anything after them is ignored. A number that is
// missing at the end of the line reads as 0; one that is there but does not convert makes the
// line unreadable (false).
bool ParsePrimitive(std::string_view line, TElementSymboluRec& record) {
    platform::LineScanner scan(line);
    scan.Take(1);
    const std::string_view kind = scan.Take(1);
    record.Kind = kind.empty() ? ' ' : kind[0];
    for (double& p : record.P) {
        const std::string_view token = scan.ReadToken();
        if (token.empty()) {
            p = 0.0;
            continue;
        }
        const auto value = platform::StrToFloatStrict(token);
        if (!value) return false;
        p = *value;
    }
    return true;
}

}  // namespace

TSymbol::TSymbol(const TSymbolRec& record)
    : Code(platform::Cut(record.Code, platform::kCodeMax)),
      Name(platform::Cut(record.Name, platform::kShortStringMax)),
      Elements(std::make_unique<TListaElementowSymbolu>()) {}

bool TListaSYM::FindSymbol(std::string_view Code) {
    const std::string code = platform::Cut(Code, platform::kCodeMax);
    const auto number = platform::StrToIntStrict(code);
    if (!number || *number < 1000 || *number > 7999) return false;
    if (Count() == 0) return false;
    GoFirst();
    do {
        if (CurrentSymbol()->Code == code) return true;
    } while (Next());
    return false;
}

void TListaSYM::SymbolFileName(std::string_view Code, std::string& Name) {
    const std::string code = platform::Cut(Code, platform::kCodeMax);
    std::string name = FindSymbol(code)
                           ? CurrentSymbol()->Name
                           : platform::Cut(code + model_texts::MissingSymbolSuffix(), 30);
    std::string plain;
    ConvertPolishLetters(name, kPageWindows1250, kPagePlain, plain);
    name = TrimText(plain);
    for (char& c : name)
        if (!IsAsciiLetterOrDigit(c)) c = '_';
    Name = std::move(name);
}

void TListaSYM::ResetSymbolParams() {
    for (TElement* s = First(); s != nullptr; s = s->GetNext()) {
        const auto* symbol = static_cast<TSymbol*>(s);
        if (symbol->Code.empty()) continue;
        for (TElement* e = symbol->Elements->First(); e != nullptr; e = e->GetNext()) {
            auto* primitive = static_cast<TElementSymbolu*>(e);
            const unsigned params = ParamsToReset(symbol->Code[0], primitive->Kind);
            for (int i = 0; i < 6; ++i)
                if (params & (1u << i)) primitive->P[i] = 0.0;
        }
    }
}

void ReadSymbolFile(std::string_view FileName, std::unique_ptr<TListaSYM>& Symbols,
                    std::int32_t& Result) {
    if (!Symbols) Symbols = std::make_unique<TListaSYM>();
    const std::string name = platform::Cut(FileName);
    if (name.empty()) {
        Result = 255;
        return;
    }
    platform::TextFileReader file;
    Result = file.Open(name);
    const bool opened = Result == 0;
    std::string line;
    TSymbol* current = Symbols->CurrentSymbol();  // primitives go to the current symbol
    while (Result == 0 && file.ReadLine(line)) {
        if (line.empty()) continue;
        if (line[0] == '*') {
            TSymbolRec record{line.substr(1, 4), line.size() > 5 ? line.substr(5) : std::string()};
            auto symbol = std::make_unique<TSymbol>(record);
            current = symbol.get();
            Symbols->Add(std::move(symbol));
        } else if (line[0] == ' ') {
            TElementSymboluRec record;
            // A primitive with a number that does not convert stops the reading like a read
            // error: the symbols read so far stay.
            if (!ParsePrimitive(line, record)) {
                Result = platform::kErrorInvalidData;
                break;
            }
            // A primitive before the file's first symbol has no symbol to belong to: it is
            // skipped like a comment.
            if (current != nullptr)
                current->Elements->Add(std::make_unique<TElementSymbolu>(record));
        }
    }
    if (Result == 0) Result = file.Error();
    if (opened) Symbols->GoFirst();
    const std::int32_t closed = file.Close();
    if (Result == 0) Result = closed;
    ShowFileResult(static_cast<std::int16_t>(Result), name);
}
