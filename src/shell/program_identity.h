#pragma once
// How a second start finds the running copy: the named mutex that marks it, and its main window's
// class and caption. All three must stay exactly as they are for copies of other versions.

namespace kmrn {

inline constexpr const char* InstanceMutexName = "KMRN_MUTEX";
inline constexpr const char* MainWindowClass = "KMRN_MAIN_WINDOW";
inline constexpr const char* MainWindowCaption = "Kamerin";

}  // namespace kmrn
