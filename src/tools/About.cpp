#include "tools/About.h"

#include "app/ProjectInfo.h"
#include "app/Version.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

std::string_view WithoutScheme(std::string_view address)
{
    const size_t scheme = address.find("://");
    return scheme == std::string_view::npos ? address : address.substr(scheme + 3);
}

}  // namespace

std::string ProgramVersion(std::string_view compiled)
{
    const std::string_view version = Trim(compiled);
    return version.empty() ? std::string("0.0.0.0") : std::string(version);
}

std::string ProgramVersion()
{
#ifdef QUILMO_VERSION
    return ProgramVersion(QUILMO_VERSION);
#else
    return ProgramVersion("");
#endif
}

std::string SiteAddress(const std::string& version)
{
    return std::string(kProjectSite) + "?from=quilmo" + version;
}

std::string PortalAddress(const std::string& version)
{
    return std::string(kProjectPortal) + "?from=quilmo" + version;
}

std::string MailAddress(const std::string& version)
{
    return std::string("mailto:") + kProjectEmail + "?SUBJECT=Quilmo%20" + version +
           "&BODY=Связь%20с%20автором%20программы";
}

std::string SiteHostName()
{
    const std::string_view rest = WithoutScheme(kProjectSite);
    return std::string(rest.substr(0, rest.find('/')));
}

std::string PortalCaption()
{
    std::string_view rest = WithoutScheme(kProjectPortal);
    while (!rest.empty() && rest.back() == '/')
        rest.remove_suffix(1);
    return std::string(rest);
}

std::string ProjectEmail()
{
    return kProjectEmail;
}

}  // namespace quilmo
