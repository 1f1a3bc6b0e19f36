// Sets the loading flag for the length of one operation.
#pragma once

#include "app/frm_mavorin.hpp"

namespace mavorin {

// Holds `laden` for one operation and gives back the value it found, so an operation nested
// inside another (start-up loading a file, a key handler running a menu command) does not end
// the outer one's guard. The few operations whose end must leave the handlers unguarded for
// the steps that follow them ask for a clear instead.
class LoadingScope {
  public:
    enum class OnExit { restore, clear };
    explicit LoadingScope(frm_mavorin& w, OnExit on_exit = OnExit::restore)
        : w_(w), previous_(w.laden), on_exit_(on_exit) {
        w_.laden = true;
    }
    ~LoadingScope() { w_.laden = on_exit_ == OnExit::clear ? false : previous_; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

  private:
    frm_mavorin& w_;
    bool previous_;
    OnExit on_exit_;
};

}  // namespace mavorin
