#pragma once

// The process-wide decimal separator used by every number-to-text conversion of the platform.
// It starts as the user's locale has it (LC_NUMERIC) and is shared by every module of the process.
namespace platform {

char GetDecimalSeparator();
void SetDecimalSeparator(char separator);

// Sets the separator for the lifetime of the guard and restores the previous one afterwards.
class DecimalSeparatorGuard {
  public:
    explicit DecimalSeparatorGuard(char separator) : saved_(GetDecimalSeparator()) {
        SetDecimalSeparator(separator);
    }
    ~DecimalSeparatorGuard() { SetDecimalSeparator(saved_); }
    DecimalSeparatorGuard(const DecimalSeparatorGuard&) = delete;
    DecimalSeparatorGuard& operator=(const DecimalSeparatorGuard&) = delete;

  private:
    char saved_;
};

}  // namespace platform
