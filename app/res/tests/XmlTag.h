#pragma once
// Just enough of XML to look into the application manifests: the n-th start
// tag of an element, its attributes and the text that follows it. Namespace
// prefixes on element names are ignored.

#include <string>

// The text of the index-th start tag of element `name` ("<name ...>" or
// "<prefix:name ...>"), without the angle brackets; empty when there is none.
std::string XmlStartTag(const std::string& xml, const std::string& name, int index = 0);

// The value of attribute `name` in a start tag, or "(missing)" when it is absent.
std::string XmlAttribute(const std::string& tag, const std::string& name);

// The character data right after the index-th start tag of element `name`, up
// to the next tag, with surrounding white space removed.
std::string XmlElementText(const std::string& xml, const std::string& name, int index = 0);
