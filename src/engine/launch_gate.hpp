// The question before an untrusted macro launches programs or carries out PC commands.
#pragma once

namespace mavorin {

class frm_mavorin;

class LaunchGate {
  public:
    explicit LaunchGate(frm_mavorin& w) : w(w) {}
    // True when a run may start: the whole macro, or the command in `single_slot` alone. An
    // untrusted macro whose commands there launch something asks first, listing each of them
    // in full; approving a question that listed every launch of the macro trusts the macro.
    bool may_run(int single_slot = -1);

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
