#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <memory>

// Small helpers shared by the readers and writers of language resource files. The XML
// library works in UTF-8.

QString XmlText(const char* utf8);
QString AttributeText(const pugi::xml_node& node, const char* name);

// The document parsed from a file; none when the file is missing, unreadable, not a regular
// file or not XML.
std::unique_ptr<pugi::xml_document> ParseXmlFile(const QString& path);

// True when the text can be an element name in a lookup path: an XML name without a
// namespace prefix. A component or class name that is not one can name no element, and
// must never be pasted into a path where it would be read as path syntax.
bool IsXmlName(const QString& name);

// The lines of an "Items" or "Columns" element: the "Caption" attribute of each child
// element in order (an empty line when absent); an element without child elements gives
// the lines of its text.
QStringList ListContentLines(const pugi::xml_node& element);

constexpr const char* kLanguageResourceRoot = "LanguageResource";
