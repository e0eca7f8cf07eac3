// Forms.h: TForm, a form built from the description stored with the program.
//
//   TFormClass         what a form class publishes: its component fields and its
//                      handlers, looked up by the names the description uses
//   PublishedField     table entry for a component field
//   PublishedMethod    table entry for a handler
//   FormValue          checked access to property values while a description is read
//   TForm              the form: its described properties, OnCreate, Close
//
// A form of this layer has no window of its own: it is never shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Classes.h"
#include "FormReader.h"

class TForm;

struct TPublishedField {
  const char* name;
  const char* className;
  TComponent* (*create)(TComponent* owner);
  void (*assign)(TForm& form, TComponent* component);
};

struct TPublishedMethod {
  const char* name;
  TNotifyEvent::Code code;
};

struct TFormClass {
  const char* className;
  const TPublishedField* fields;
  std::size_t fieldCount;
  const TPublishedMethod* methods;
  std::size_t methodCount;
};

template <class F, class C, C* F::*Field>
constexpr TPublishedField PublishedField(const char* name, const char* className) {
  return {name, className, [](TComponent* owner) -> TComponent* { return new C(owner); },
          [](TForm& form, TComponent* component) {
            static_cast<F&>(form).*Field = static_cast<C*>(component);
          }};
}

template <class F, void (F::*Method)(TObject*)>
constexpr TPublishedMethod PublishedMethod(const char* name) {
  return {name, &TNotifyEvent::Thunk<F, Method>};
}

// Values of the property being read; each raises EReadError when the value has
// another kind or is not one of the allowed identifiers.
namespace FormValue {
std::int32_t Integer(const TFormProperty& property);
bool Boolean(const TFormProperty& property);
std::string String(const TFormProperty& property);
std::string Identifier(const TFormProperty& property, const char* const* allowed,
                       std::size_t count);
TNotifyEvent Event(const TFormProperty& property, const TForm& root);
}  // namespace FormValue

struct TFontDescription {
  std::string charset = "DEFAULT_CHARSET";
  std::string color = "clWindowText";
  std::int32_t height = -11;
  std::string name = "MS Sans Serif";
  std::vector<std::string> style;
};

class TForm : public TComponent {
 public:
  explicit TForm(TComponent* owner) : TComponent(owner) {}

  TNotifyEvent OnCreate;

  // Runs OnCreate once construction is complete, unless the description asked for
  // the old order, in which case it ran at the end of reading.
  void AfterConstruction();
  // Closing the main form ends the application's message loop.
  void Close() noexcept;

  // The handler published under `name`, bound to this form; raises EReadError.
  TNotifyEvent MethodAddress(const std::string& name) const;

  bool ReadProperty(const TFormProperty& property, const TForm& root) override;

  // Described properties.
  std::int32_t Left = 0, Top = 0, ClientWidth = 0, ClientHeight = 0;
  std::int32_t PixelsPerInch = 96, TextHeight = 13;
  std::string BorderStyle = "bsSizeable";
  std::string Caption;
  std::string Color = "clBtnFace";
  TFontDescription Font;
  bool OldCreateOrder = false;

 protected:
  // Reads the description stored as the RCDATA resource named after the class in
  // upper case; raises EResNotFound or EReadError.
  void InitInheritedComponent(const TFormClass& formClass);
  // Reads a description given as text.
  void ReadForm(const TFormClass& formClass, const char* data, std::size_t size);

 private:
  void DoCreate();

  const TFormClass* class_ = nullptr;
};
