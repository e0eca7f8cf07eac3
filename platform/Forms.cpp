#include "Forms.h"

#include <windows.h>

#include <algorithm>

#include "Application.h"
#include "Exceptions.h"

namespace {

[[noreturn]] void InvalidValue(const TFormProperty& property) {
  throw EReadError("Invalid property value for " + property.name + " (line " +
                   std::to_string(property.line) + ")");
}

const TFormValue& ValueOfKind(const TFormProperty& property, TFormValue::Kind kind) {
  if (property.value.kind != kind) InvalidValue(property);
  return property.value;
}

// Colours and character sets are either a number or a named constant.
std::string NamedConstant(const TFormProperty& property, const char* prefix, const char* suffix) {
  const TFormValue& value = property.value;
  if (value.kind == TFormValue::Kind::Integer) return std::to_string(value.integer);
  if (value.kind != TFormValue::Kind::Identifier) InvalidValue(property);
  const std::string& name = value.text;
  const std::size_t pre = std::char_traits<char>::length(prefix);
  const std::size_t suf = std::char_traits<char>::length(suffix);
  if (name.size() <= pre + suf || name.compare(0, pre, prefix) != 0 ||
      name.compare(name.size() - suf, suf, suffix) != 0) {
    InvalidValue(property);
  }
  return name;
}

const char* const kBorderStyles[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                     "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const char* const kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

bool IsOneOf(const std::string& name, const char* const* allowed, std::size_t count) {
  return std::any_of(allowed, allowed + count,
                     [&](const char* candidate) { return SameIdentifier(name, candidate); });
}

std::string ErrorContext(const std::string& owner, const TFormProperty& property) {
  return "Error reading " + owner + "." + property.name + ": ";
}

}  // namespace

namespace FormValue {

std::int32_t Integer(const TFormProperty& property) {
  return ValueOfKind(property, TFormValue::Kind::Integer).integer;
}

bool Boolean(const TFormProperty& property) {
  const std::string& name = ValueOfKind(property, TFormValue::Kind::Identifier).text;
  if (SameIdentifier(name, "True")) return true;
  if (SameIdentifier(name, "False")) return false;
  InvalidValue(property);
}

std::string String(const TFormProperty& property) {
  return ValueOfKind(property, TFormValue::Kind::String).text;
}

std::string Identifier(const TFormProperty& property, const char* const* allowed,
                       std::size_t count) {
  const std::string& name = ValueOfKind(property, TFormValue::Kind::Identifier).text;
  if (!IsOneOf(name, allowed, count)) InvalidValue(property);
  return name;
}

TNotifyEvent Event(const TFormProperty& property, const TForm& root) {
  return root.MethodAddress(ValueOfKind(property, TFormValue::Kind::Identifier).text);
}

}  // namespace FormValue

TNotifyEvent TForm::MethodAddress(const std::string& name) const {
  if (class_ != nullptr) {
    for (std::size_t i = 0; i < class_->methodCount; ++i) {
      const TPublishedMethod& method = class_->methods[i];
      if (SameIdentifier(name, method.name)) {
        return TNotifyEvent(const_cast<TForm*>(this), method.code);
      }
    }
  }
  throw EReadError("Method " + name + " not found");
}

bool TForm::ReadProperty(const TFormProperty& property, const TForm& root) {
  const std::string& name = property.name;
  auto is = [&](const char* candidate) { return SameIdentifier(name, candidate); };
  if (is("Left")) Left = FormValue::Integer(property);
  else if (is("Top")) Top = FormValue::Integer(property);
  else if (is("ClientWidth")) ClientWidth = FormValue::Integer(property);
  else if (is("ClientHeight")) ClientHeight = FormValue::Integer(property);
  else if (is("PixelsPerInch")) PixelsPerInch = FormValue::Integer(property);
  else if (is("TextHeight")) TextHeight = FormValue::Integer(property);
  else if (is("BorderStyle")) BorderStyle = FormValue::Identifier(property, kBorderStyles, 6);
  else if (is("Caption")) Caption = FormValue::String(property);
  else if (is("Color")) Color = NamedConstant(property, "cl", "");
  else if (is("Font.Charset")) Font.charset = NamedConstant(property, "", "_CHARSET");
  else if (is("Font.Color")) Font.color = NamedConstant(property, "cl", "");
  else if (is("Font.Height")) Font.height = FormValue::Integer(property);
  else if (is("Font.Name")) Font.name = FormValue::String(property);
  else if (is("Font.Style")) {
    const TFormValue& value = ValueOfKind(property, TFormValue::Kind::Set);
    for (const std::string& item : value.items) {
      if (!IsOneOf(item, kFontStyles, 4)) InvalidValue(property);
    }
    Font.style = value.items;
  }
  else if (is("OldCreateOrder")) OldCreateOrder = FormValue::Boolean(property);
  else if (is("OnCreate")) OnCreate = FormValue::Event(property, root);
  else return false;
  return true;
}

void TForm::InitInheritedComponent(const TFormClass& formClass) {
  std::string resourceName = formClass.className;
  std::transform(resourceName.begin(), resourceName.end(), resourceName.begin(),
                 [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  HGLOBAL data = info != nullptr ? LoadResource(module, info) : nullptr;
  const void* text = data != nullptr ? LockResource(data) : nullptr;
  if (text == nullptr) throw EResNotFound("Resource " + resourceName + " not found");
  ReadForm(formClass, static_cast<const char*>(text), SizeofResource(module, info));
}

void TForm::ReadForm(const TFormClass& formClass, const char* data, std::size_t size) {
  class_ = &formClass;
  const TFormObject description = ReadFormDescription(data, size);
  if (!SameIdentifier(description.className, formClass.className)) {
    throw EReadError("Form description is for class " + description.className + ", not " +
                     formClass.className);
  }
  SetName(description.name);
  for (const TFormProperty& property : description.properties) {
    if (!ReadProperty(property, *this)) {
      throw EReadError(ErrorContext(Name(), property) + "Property " + property.name +
                       " does not exist");
    }
  }
  for (const TFormObject& child : description.children) {
    const TPublishedField* end = formClass.fields + formClass.fieldCount;
    const TPublishedField* field = std::find_if(formClass.fields, end, [&](const TPublishedField& f) {
      return SameIdentifier(child.name, f.name);
    });
    if (field == end) throw EReadError("Field " + Name() + "." + child.name + " does not exist");
    if (!SameIdentifier(child.className, field->className)) {
      throw EReadError("Field " + Name() + "." + child.name + " is not a " + child.className);
    }
    if (FindComponent(child.name) != nullptr) {
      throw EReadError("A component named " + child.name + " already exists");
    }
    if (!child.children.empty()) throw EReadError(child.name + " cannot own components");
    TComponent* component = field->create(this);  // owned by the form from here on
    component->SetName(child.name);
    field->assign(*this, component);
    for (const TFormProperty& property : child.properties) {
      if (!component->ReadProperty(property, *this)) {
        throw EReadError(ErrorContext(child.name, property) + "Property " + property.name +
                         " does not exist");
      }
    }
  }
  if (OldCreateOrder) DoCreate();
}

void TForm::AfterConstruction() {
  if (!OldCreateOrder) DoCreate();
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::Close() noexcept {
  if (Application->MainForm() == this) Application->Terminate();
}
