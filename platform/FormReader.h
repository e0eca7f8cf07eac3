// FormReader.h: reads a form description, the text that says which properties a
// form and its components get and which handlers their events are bound to:
//
//   object frmMain: TfrmMain
//     Caption = ' Tavrino'        strings in quotes, '' for a quote, #nn for a code
//     Left = 533                  integers, optionally signed
//     BorderStyle = bsDialog      identifiers (True and False among them)
//     Font.Style = []             sets of identifiers
//     object Timer1: TTimer       nested components
//       OnTimer = Timer1Timer
//     end
//   end
//
// Plain C++ without Windows headers, so that it can be fuzzed natively. Malformed
// input raises EReadError naming the line; nesting and size are bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TFormValue {
  enum class Kind { Integer, Identifier, String, Set };
  Kind kind = Kind::Integer;
  std::int32_t integer = 0;
  std::string text;                // identifier or string
  std::vector<std::string> items;  // set members
};

struct TFormProperty {
  std::string name;  // may be dotted, as in Font.Height
  TFormValue value;
  int line = 0;
};

struct TFormObject {
  std::string name;
  std::string className;
  std::vector<TFormProperty> properties;
  std::vector<TFormObject> children;
  int line = 0;
};

constexpr std::size_t kMaxFormDescriptionSize = 64 * 1024;
constexpr int kMaxFormNesting = 8;

TFormObject ReadFormDescription(const char* data, std::size_t size);

// Identifiers compare without regard to the case of ASCII letters.
bool SameIdentifier(const std::string& a, const char* b);
