#pragma once
// The texts and addresses of the about box.

#include <string>
#include <string_view>

namespace quilmo {

// The version as compiled in, trimmed of blanks and control characters;
// "0.0.0.0" when there is none.
std::string ProgramVersion(std::string_view compiled);
// The version of this build.
std::string ProgramVersion();

// The addresses opened by the about box's links, each telling the site where
// the visitor came from and with which version.
std::string SiteAddress(const std::string& version);
std::string PortalAddress(const std::string& version);
std::string MailAddress(const std::string& version);

// What the link labels show.
std::string SiteHostName();      // "quilmo.example.org"
std::string PortalCaption();     // the portal's address without the scheme
std::string ProjectEmail();

}  // namespace quilmo
