// Late-bound WMI scripting, as a script would do it: moniker, ExecQuery, then each object.
#pragma once

#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

namespace mavorin::win32 {

// Connects with the shutdown privilege, runs "SELECT * FROM Win32_OperatingSystem" and calls
// `each` for every returned object. False when any step before the objects fails.
bool for_each_operating_system(const std::function<void(IDispatch*)>& each);

// Calls a method without arguments on a scripting object; false on failure.
bool call_method(IDispatch* object, const wchar_t* name);
// Reads a property as text; empty when it cannot be read.
std::wstring read_property(IDispatch* object, const wchar_t* name);

}  // namespace mavorin::win32
