// Skeleton: replaced by the real implementation.
#include "editor/panels.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
const std::vector<std::string>& code_namen() { static const std::vector<std::string> v = {"Zufall Wartezeit", "Mauszeiger zu X/Y Position gehen", "Mauszeiger Tastendruck", "Tastatur Eingabe", "Zahl hochzählen in Zwischenablage", "Programmpfad öffnen", "PC Befehl ausführen", "CD-Laufwerk öffnen/schließen", "Screenshot erzeugen", "Pixel Veränderung"}; return v; }
void Panels::codesichtbar() {  }  // TODO
void Panels::Timer_combobox_Timer() {  }  // TODO
std::vector<form::Control*> Panels::panel_controls(int code) { return {}; }  // TODO

}  // namespace mavorin
