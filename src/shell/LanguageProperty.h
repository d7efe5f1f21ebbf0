#pragma once

#include <QString>

#include <stdexcept>

class QObject;

// An attribute value that does not fit its property, or a write the property refused. Ends
// the application of the element that holds the attribute.
class TLanguageValueError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// True for the attributes that carry a component's name ("Name" in any letter case, and
// "objectName"): they identify components and are never applied, so that no component is
// renamed under its window.
bool IsComponentNameAttribute(const QString& name);

// Sets the published property of that name (the exact name, else the same name in another
// letter case) from the text of an attribute, converting by the property's type:
// - integers: decimal; a text that is not a number but a colour name ("clRed") gives that
//   colour's number, any other text 0;
// - 64-bit integers, Booleans ("true"/"false"/"1"/"0") and floating-point numbers: the
//   value, or an error;
// - texts: the text itself;
// - colours: a colour name, a number in the 0x00BBGGRR layout, or "#rrggbb";
// - enumerations and sets: member names; sets as "a|b" or "[a, b]".
// Returns false, changing nothing, for component-name attributes, names that match no
// declared property, properties that cannot be written and properties of any other kind.
// Throws TLanguageValueError when the text does not fit or the write is refused.
bool SetPropertyFromText(QObject* object, const QString& name, const QString& value);
