#include "FormReader.h"

#include <cstdint>

#include "Exceptions.h"

namespace {

bool IsIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Parser {
 public:
  Parser(const char* data, std::size_t size) : p_(data), end_(data + size) {}

  TFormObject ReadRoot() {
    SkipBlanks();
    const int line = line_;
    if (!SameIdentifier(Identifier(), "object")) Fail("'object' expected");
    TFormObject root = ReadObject(1, line);
    SkipBlanks();
    if (p_ != end_) Fail("text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError("Error in form description, line " + std::to_string(line_) + ": " + what);
  }

  void SkipBlanks() {
    while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r' || *p_ == '\n')) {
      if (*p_ == '\n') ++line_;
      ++p_;
    }
  }

  bool Peek(char c) {
    SkipBlanks();
    return p_ != end_ && *p_ == c;
  }

  void Expect(char c) {
    if (!Peek(c)) Fail(std::string("'") + c + "' expected");
    ++p_;
  }

  std::string Identifier() {
    SkipBlanks();
    if (p_ == end_ || !IsIdentStart(*p_)) Fail("identifier expected");
    const char* start = p_;
    while (p_ != end_ && IsIdentChar(*p_)) ++p_;
    return std::string(start, p_);
  }

  // Name or Name.Sub.Sub
  std::string QualifiedName() {
    std::string name = Identifier();
    while (p_ != end_ && *p_ == '.') {
      ++p_;
      name += '.';
      name += Identifier();
    }
    return name;
  }

  // The rest of an object after its keyword: "Name: ClassName", properties and
  // components, up to its "end".
  TFormObject ReadObject(int depth, int line) {
    if (depth > kMaxFormNesting) Fail("components nested too deeply");
    TFormObject object;
    object.line = line;
    object.name = Identifier();
    Expect(':');
    object.className = Identifier();
    for (;;) {
      SkipBlanks();
      const int wordLine = line_;
      const std::string word = QualifiedName();
      if (SameIdentifier(word, "end")) return object;
      if (SameIdentifier(word, "object")) {
        object.children.push_back(ReadObject(depth + 1, wordLine));
        continue;
      }
      Expect('=');
      TFormProperty property;
      property.name = word;
      property.line = wordLine;
      property.value = Value();
      object.properties.push_back(std::move(property));
    }
  }

  TFormValue Value() {
    SkipBlanks();
    if (p_ == end_) Fail("value expected");
    TFormValue value;
    const char c = *p_;
    if (c == '\'' || c == '#') {
      value.kind = TFormValue::Kind::String;
      value.text = String();
    } else if (c == '[') {
      value.kind = TFormValue::Kind::Set;
      ++p_;
      if (!Peek(']')) {
        value.items.push_back(Identifier());
        while (Peek(',')) {
          ++p_;
          value.items.push_back(Identifier());
        }
      }
      Expect(']');
    } else if (c == '-' || c == '+' || IsDigit(c)) {
      value.kind = TFormValue::Kind::Integer;
      value.integer = Integer();
    } else if (IsIdentStart(c)) {
      value.kind = TFormValue::Kind::Identifier;
      value.text = QualifiedName();
    } else {
      Fail("value expected");
    }
    return value;
  }

  std::int32_t Integer() {
    bool negative = false;
    if (*p_ == '-' || *p_ == '+') {
      negative = *p_ == '-';
      ++p_;
    }
    if (p_ == end_ || !IsDigit(*p_)) Fail("digit expected");
    std::int64_t magnitude = 0;
    while (p_ != end_ && IsDigit(*p_)) {
      magnitude = magnitude * 10 + (*p_ - '0');
      if (magnitude > INT64_C(2147483648)) Fail("integer out of range");
      ++p_;
    }
    if (p_ != end_ && IsIdentChar(*p_)) Fail("invalid integer");
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX) Fail("integer out of range");
    return static_cast<std::int32_t>(result);
  }

  // 'quoted' and #code pieces, directly adjacent or joined by '+'.
  std::string String() {
    std::string text;
    for (;;) {
      if (p_ != end_ && *p_ == '\'') {
        ++p_;
        for (;;) {
          if (p_ == end_ || *p_ == '\n' || *p_ == '\r') Fail("unterminated string");
          if (*p_ == '\'') {
            ++p_;
            if (p_ == end_ || *p_ != '\'') break;
          }
          text += *p_++;
        }
      } else if (p_ != end_ && *p_ == '#') {
        ++p_;
        if (p_ == end_ || !IsDigit(*p_)) Fail("character code expected");
        unsigned code = 0;
        while (p_ != end_ && IsDigit(*p_)) {
          code = code * 10 + static_cast<unsigned>(*p_ - '0');
          if (code > 255) Fail("character code out of range");
          ++p_;
        }
        text += static_cast<char>(code);
      } else if (Peek('+')) {
        ++p_;
        SkipBlanks();
        if (p_ == end_ || (*p_ != '\'' && *p_ != '#')) Fail("string expected after '+'");
      } else {
        return text;
      }
    }
  }

  const char* p_;
  const char* end_;
  int line_ = 1;
};

}  // namespace

bool SameIdentifier(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == '\0';
}

TFormObject ReadFormDescription(const char* data, std::size_t size) {
  if (size > kMaxFormDescriptionSize) throw EReadError("Form description too large");
  return Parser(data, size).ReadRoot();
}
