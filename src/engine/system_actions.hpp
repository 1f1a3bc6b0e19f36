// System actions: program launch, the seven PC commands, the CD door, finding CD drives.
#pragma once

namespace mavorin {

class frm_mavorin;

class SystemActions {
  public:
    explicit SystemActions(frm_mavorin& w) : w(w) {}
    void open_program();  // 006
    void pc_command();    // 007
    void cd_drive();      // 008
    void laufwerke_einlesen();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
