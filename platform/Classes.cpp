#include "Classes.h"

#include <algorithm>

#include "FormReader.h"

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->Insert(this);
}

TComponent::~TComponent() {
  // Owned components go first, the most recently created first.
  while (!components_.empty()) delete components_.back();
  if (owner_ != nullptr) owner_->Remove(this);
}

void TComponent::Insert(TComponent* component) { components_.push_back(component); }

void TComponent::Remove(TComponent* component) noexcept {
  const auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
}

TComponent* TComponent::FindComponent(const std::string& name) const noexcept {
  const auto it = std::find_if(components_.begin(), components_.end(), [&](const TComponent* c) {
    return SameIdentifier(c->Name(), name.c_str());
  });
  return it == components_.end() ? nullptr : *it;
}

bool TComponent::ReadProperty(const TFormProperty&, const TForm&) { return false; }
