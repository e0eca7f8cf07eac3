// Classes.h: the object model the program's form is written against.
//
//   TObject     root of the hierarchy; event handlers receive their sender as one
//   TEvent      a bound handler: an object plus a member function, or nothing
//   TComponent  an object with an owner and a name; destroys what it owns
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct TFormProperty;
class TForm;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

template <typename... Args>
class TEvent {
 public:
  using Code = void (*)(TObject* self, Args... args);

  constexpr TEvent() noexcept = default;
  // Implicit, so that `OnIdle = nullptr` reads as intended.
  // cppcheck-suppress noExplicitConstructor
  constexpr TEvent(std::nullptr_t) noexcept {}  // NOLINT(google-explicit-constructor)
  constexpr TEvent(TObject* self, Code code) noexcept : self_(self), code_(code) {}

  // The code that calls Method on an object of class C.
  template <class C, void (C::*Method)(Args...)>
  static void Thunk(TObject* self, Args... args) {
    (static_cast<C*>(self)->*Method)(args...);
  }

  template <class C, void (C::*Method)(Args...)>
  static TEvent Bind(C* self) noexcept {
    return TEvent(self, &Thunk<C, Method>);
  }

  explicit operator bool() const noexcept { return code_ != nullptr; }
  void operator()(Args... args) const { code_(self_, args...); }

 private:
  TObject* self_ = nullptr;
  Code code_ = nullptr;
};

using TNotifyEvent = TEvent<TObject*>;
using TIdleEvent = TEvent<TObject*, bool&>;

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  TComponent() noexcept : owner_(nullptr) {}  // a component nobody owns
  ~TComponent() override;

  TComponent* Owner() const noexcept { return owner_; }
  const std::string& Name() const noexcept { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TComponent* FindComponent(const std::string& name) const noexcept;

  // Sets one property read from a form description whose root is `root`; false when
  // the component has no such property.
  virtual bool ReadProperty(const TFormProperty& property, const TForm& root);

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component) noexcept;

  TComponent* owner_;
  std::string name_;
  std::vector<TComponent*> components_;
};
