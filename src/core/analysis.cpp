#include "core/model.h"

namespace quomble {

// Placeholders until the day list and analysis land.
void LogModel::BC_Array_fuellen() {}
void LogModel::Verlauf_berechnen(const std::function<void(int)>&) {}
void LogModel::BootGlaettung_berechnen(int) {}
void LogModel::BootverlaufGlaettung_berechnen(int) {}
void LogModel::Verlauf_normieren() {}

}  // namespace quomble
