#pragma once
// A method pointer with its object, called with the sending entity: the shape
// of OnDestroyed and OnLevelComplete. Tested for being assigned before a call.
class TBlob;

class TBlobEvent {
 public:
  TBlobEvent() = default;

  // TBlobEvent::Bind<&TLevelManager::EnemyDestroyed>(manager)
  template <auto Method, class T>
  static TBlobEvent Bind(T* object) {
    TBlobEvent e;
    e.Object = object;
    e.Code = [](void* o, TBlob* sender) { (static_cast<T*>(o)->*Method)(sender); };
    return e;
  }

  bool Assigned() const { return Code != nullptr; }
  explicit operator bool() const { return Assigned(); }
  void operator()(TBlob* sender) const { Code(Object, sender); }
  // Calls the event when it is assigned; the usual way to fire it.
  void Fire(TBlob* sender) const {
    if (Code) Code(Object, sender);
  }

 private:
  void* Object = nullptr;
  void (*Code)(void*, TBlob*) = nullptr;
};
