// The tag names the loader knows: implicit, non-specific and the YAML 1.1 types.
#pragma once

#include <string_view>

namespace quessel::yaml::TagName {

inline constexpr std::string_view implicit = "";
inline constexpr std::string_view nonSpecific = "!";
inline constexpr std::string_view str = "tag:yaml.org,2002:str";
inline constexpr std::string_view boolean = "tag:yaml.org,2002:bool";
inline constexpr std::string_view integer = "tag:yaml.org,2002:int";
inline constexpr std::string_view floating = "tag:yaml.org,2002:float";
inline constexpr std::string_view null = "tag:yaml.org,2002:null";
inline constexpr std::string_view binary = "tag:yaml.org,2002:binary";
inline constexpr std::string_view timestamp = "tag:yaml.org,2002:timestamp";
inline constexpr std::string_view map = "tag:yaml.org,2002:map";
inline constexpr std::string_view set = "tag:yaml.org,2002:set";
inline constexpr std::string_view seq = "tag:yaml.org,2002:seq";
inline constexpr std::string_view omap = "tag:yaml.org,2002:omap";
inline constexpr std::string_view pairs = "tag:yaml.org,2002:pairs";
inline constexpr std::string_view merge = "tag:yaml.org,2002:merge";
inline constexpr std::string_view value = "tag:yaml.org,2002:value";

} // namespace quessel::yaml::TagName
