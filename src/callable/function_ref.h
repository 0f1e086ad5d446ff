#pragma once
// FunctionRef<R(Args...)>: what a function takes when it calls a caller's lambda before it
// returns and keeps nothing of it. Two pointers, no allocation and no copy of the lambda; unlike
// std::function, no copy-and-destroy routine per lambda type, no empty state and no exception for
// calling one (each std::function a program uses costs a few hundred bytes of code and unwind
// tables in the setup file).
//
// It refers to the lambda, so it never outlives it: take one as a parameter, never store one
// beyond the call, and name a lambda with `auto`, not with this type (a FunctionRef made from a
// temporary lambda is left pointing at nothing once that statement ends).
#include <memory>
#include <type_traits>
#include <utility>

namespace callable {

template <typename Signature>
class FunctionRef;

template <typename R, typename... Args>
class FunctionRef<R(Args...)> {
 public:
  template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef> &&
                                                    std::is_invocable_r_v<R, F&, Args...>>>
  FunctionRef(F&& f) noexcept  // implicit, as std::function's: callers pass lambdas as they are
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(f)))),
        call_([](void* object, Args... args) -> R {
          return (*static_cast<std::remove_reference_t<F>*>(object))(std::forward<Args>(args)...);
        }) {}

  R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

 private:
  void* object_;
  R (*call_)(void*, Args...);
};

}  // namespace callable
