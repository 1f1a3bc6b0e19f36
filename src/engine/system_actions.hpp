// System actions: program launch, the seven PC commands, the CD door, finding CD drives.
#pragma once

namespace mavorin {

class frm_mavorin;

class SystemActions {
  public:
    explicit SystemActions(frm_mavorin& w) : w(w) {}
    void programm_oeffnen();  // 006
    void pc_befehl();         // 007
    void cd_laufwerk();       // 008
    void laufwerke_einlesen();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
