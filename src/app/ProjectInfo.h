#pragma once
// The project's own addresses, shown by the about box and written into exported pages.

namespace quilmo {

inline constexpr const char* kProjectSite = "https://quilmo.example.org/";
inline constexpr const char* kProjectPortal = "https://www.example.org/quilmo/";
inline constexpr const char* kProjectEmail = "quilmo@example.org";

}  // namespace quilmo
