// Text between the core (UTF-8 std::string) and Qt.
#pragma once

#include <QString>
#include <string>

namespace mavorin::qt {

inline QString q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string s(const QString& v) {
    return v.toUtf8().toStdString();
}

}  // namespace mavorin::qt
