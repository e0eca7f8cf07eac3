// FormReaderFuzz.cpp: libFuzzer entry point for the form description reader.
//
// Malformed input must end in EReadError and nothing else; any other exception, a
// crash, a leak, undefined behaviour or a hang is a finding. Input that is accepted
// must give a tree that holds together, and writing that tree out again must read
// back to the same tree (this is what catches a reader that silently drops or
// mangles text rather than rejecting it).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Exceptions.h"
#include "FormReader.h"

namespace {

[[noreturn]] void Finding(const char* what, const std::string& detail) {
  std::fprintf(stderr, "FormReaderFuzz: %s: %s\n", what, detail.c_str());
  std::abort();
}

bool IsIdentifier(const std::string& s) {
  if (s.empty()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !(digit && i > 0)) return false;
  }
  return true;
}

// Name or Name.Sub: dots only between identifiers.
bool IsQualifiedName(const std::string& s) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = s.find('.', start);
    if (!IsIdentifier(s.substr(start, dot - start))) return false;
    if (dot == std::string::npos) return true;
    start = dot + 1;
  }
}

// Lines are counted from 1; a tree cannot point past the text's last line, and each
// part starts no earlier than what encloses it.
void Check(const TFormObject& object, int depth, int lastLine, int minLine) {
  if (depth > kMaxFormNesting) Finding("nested deeper than allowed", object.name);
  if (!IsIdentifier(object.name) || !IsIdentifier(object.className))
    Finding("object without a proper name", object.name + ": " + object.className);
  if (object.line < minLine || object.line > lastLine)
    Finding("object line out of place", std::to_string(object.line));
  for (const TFormProperty& property : object.properties) {
    if (!IsQualifiedName(property.name)) Finding("bad property name", property.name);
    if (property.line < object.line || property.line > lastLine)
      Finding("property line out of place", property.name);
    const TFormValue& value = property.value;
    if (value.kind == TFormValue::Kind::Identifier && !IsQualifiedName(value.text))
      Finding("bad identifier value", value.text);
    for (const std::string& item : value.items)
      if (!IsIdentifier(item)) Finding("bad set member", item);
  }
  int previous = object.line;
  for (const TFormObject& child : object.children) {
    if (child.line < previous) Finding("components out of order", child.name);
    previous = child.line;
    Check(child, depth + 1, lastLine, object.line);
  }
}

// Writes a string value so that any byte survives: printable ASCII in quotes, the
// rest as #codes.
void WriteString(const std::string& text, std::string& out) {
  if (text.empty()) {
    out += "''";
    return;
  }
  bool quoted = false;
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f) {
      if (!quoted) out += '\'';
      quoted = true;
      out += c;
      if (c == '\'') out += '\'';
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#';
      out += std::to_string(u);
    }
  }
  if (quoted) out += '\'';
}

void Write(const TFormObject& object, std::string& out) {
  out += "object " + object.name + ": " + object.className + "\n";
  for (const TFormProperty& property : object.properties) {
    out += property.name + " = ";
    const TFormValue& value = property.value;
    switch (value.kind) {
      case TFormValue::Kind::Integer: out += std::to_string(value.integer); break;
      case TFormValue::Kind::Identifier: out += value.text; break;
      case TFormValue::Kind::String: WriteString(value.text, out); break;
      case TFormValue::Kind::Set:
        out += '[';
        for (std::size_t i = 0; i < value.items.size(); ++i) {
          if (i > 0) out += ", ";
          out += value.items[i];
        }
        out += ']';
        break;
    }
    out += '\n';
  }
  for (const TFormObject& child : object.children) Write(child, out);
  out += "end\n";
}

bool SameValue(const TFormValue& a, const TFormValue& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case TFormValue::Kind::Integer: return a.integer == b.integer;
    case TFormValue::Kind::Identifier:
    case TFormValue::Kind::String: return a.text == b.text;
    case TFormValue::Kind::Set: return a.items == b.items;
  }
  return false;
}

bool SameTree(const TFormObject& a, const TFormObject& b) {
  if (a.name != b.name || a.className != b.className) return false;
  if (a.properties.size() != b.properties.size() || a.children.size() != b.children.size())
    return false;
  for (std::size_t i = 0; i < a.properties.size(); ++i)
    if (a.properties[i].name != b.properties[i].name ||
        !SameValue(a.properties[i].value, b.properties[i].value))
      return false;
  for (std::size_t i = 0; i < a.children.size(); ++i)
    if (!SameTree(a.children[i], b.children[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  TFormObject form;
  try {
    form = ReadFormDescription(text, size);
  } catch (const EReadError&) {
    return 0;  // malformed input, rejected as it should be
  }

  int lines = 1;
  for (std::size_t i = 0; i < size; ++i)
    if (text[i] == '\n') ++lines;
  Check(form, 1, lines, 1);

  std::string written;
  Write(form, written);
  // #codes can make the text longer than the reader takes; nothing to compare then.
  if (written.size() > kMaxFormDescriptionSize) return 0;
  try {
    if (!SameTree(form, ReadFormDescription(written.data(), written.size())))
      Finding("tree changed when written and read back", written);
  } catch (const EReadError& e) {
    Finding("tree written out is not readable", e.Message() + "\n" + written);
  }
  return 0;
}
