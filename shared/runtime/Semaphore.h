#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/KernelSemaphore.h"

namespace SEMAPHORE {

// Owner of one counting semaphore (initial count 0, maximum 200). Its users
// wait on and release the handle itself.
class Semaphore {
public:
  static constexpr std::uint32_t MaximumCount = 200;

  Semaphore();
  virtual ~Semaphore();

  Semaphore(const Semaphore&) = delete;
  Semaphore& operator=(const Semaphore&) = delete;

  // Creates "Global\" + name, or opens it when it exists; an empty name gives
  // a semaphore private to the process. True when a handle is held.
  bool Create(const std::string& name);

  // Opens the existing "Global\" + name in place of a held handle. False for
  // an empty name (nothing changes) or an unknown one (no handle is left).
  bool Open(const std::string& name);

  // Null when none is held.
  PLATFORM::KernelSemaphore* Handle() const { return handle_.get(); }

private:
  std::unique_ptr<PLATFORM::KernelSemaphore> handle_;
};

}  // namespace SEMAPHORE
