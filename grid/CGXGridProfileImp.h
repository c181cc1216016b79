// Styles maps, styles, fonts and grid properties in the application profile, so that a user's settings
// survive without a document. All values are texts. With a registry key set for the application, a styles
// map keeps each base style in a subkey of its section ("Styles\#52768"); without one it uses the older
// flat layout of INI files: a key per base style in the section and the style in a section of its own
// ("Styles.#52768"). The two layouts cannot read each other.
//
// Reading keeps the current value for a missing key and skips an entry that is damaged or foreign (not a
// number, or outside the attribute's values), so that a hand-edited profile loads with the defaults.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXGridProfileImp : public CGXAbstractGridProfileImp {
public:
    void WriteStylesMapProfile(const CGXStylesMap& map) override;
    void WriteFontProfile(const CGXFont& font, LPCTSTR section, LPCTSTR key) override;
    void WriteStyleProfile(const CGXStyle& style, LPCTSTR section, const CGXStylesMap* map) override;
    void WritePropertiesProfile(const CGXProperties& properties) override;
    // FALSE, and the map as it was, when the section holds no styles.
    BOOL ReadStylesMapProfile(CGXStylesMap& map) override;
    // FALSE when the key is empty.
    BOOL ReadFontProfile(CGXFont& font, LPCTSTR section, LPCTSTR key) override;
    BOOL ReadStyleProfile(CGXStyle& style, LPCTSTR section, const CGXStylesMap* map) override;
    // FALSE when the section is missing or empty.
    BOOL ReadPropertiesProfile(CGXProperties& properties) override;
};

// Makes the profile object the library's, once.
void InstallGridProfile();
