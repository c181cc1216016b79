// The identity text "@@Cj": manufacturer at fixed places, model code, version text and number.
#include "receiver/OncoreDecoder.h"

#include "platform/base/WideRuntime.h"
#include "receiver/ReceiverIdentity.h"

namespace {

// The units first..first+count-1, clamped to the text.
CString Field(const CString& text, int first, int count) {
    return first < text.GetLength() ? text.Mid(first, count) : CString();
}

CString Trimmed(const CString& text, int first, int count) {
    CString field = Field(text, first, count);
    field.Trim();
    return field;
}

TCHAR CharAt(const CString& text, int index) {
    return index < text.GetLength() ? text[index] : u'\0';
}

bool ReadVersion(const CString& text, float& version) {
    float value = 0.0f;
    if (swscanf(text, u"%f", &value) != 1) {
        return false;
    }
    version = value;
    return true;
}

} // namespace

int OncoreModelFromNumber(const CString& number) {
    const TCHAR c0 = CharAt(number, 0), c1 = CharAt(number, 1), c2 = CharAt(number, 2),
                c5 = CharAt(number, 5);
    switch (c0) {
    case u'A':
        return c1 == u'1' ? 11 : 0;
    case u'B':
        if (c1 == u'1' || c1 == u'2') {
            return 11;
        }
        return c1 == u'3' || c1 == u'4' || c1 == u'8' ? 10 : 0;
    case u'N':
        return c1 == u'S' ? 10 : 0;
    case u'P':
        if (c1 == u'V' && c2 == u'T') {
            return 6;
        }
        if (c5 == u'T' || c1 == u'1') {
            return 3;
        }
        return c1 == u'2' ? 4 : c1 == u'3' ? 5 : 0;
    case u'R':
        if (c1 == u'1' && c5 == u'A') {
            return 8;
        }
        if (c1 == u'1' && c5 == u'N') {
            return 1;
        }
        if ((c1 == u'3' || c1 == u'4') && c5 == u'G') {
            return 2;
        }
        if (c1 == u'5' && c5 == u'U') {
            return 9;
        }
        return c1 == u'6' && c5 == u'G' ? 7 : 0;
    case u'T':
        return c1 == u'8' ? 10 : 0;
    case u'I':
        return c1 == u'L' ? 5 : 0;
    default:
        return 0;
    }
}

OncoreIdentity IdentifyOncoreReceiver(const CString& message, float previousVersion) {
    OncoreIdentity identity;
    identity.firmwareVersion = previousVersion;
    const CString maker = Field(message, 26, 8);

    // The version text of most makers, and its number when it starts with one.
    auto standardVersion = [&] {
        identity.versionText = Trimmed(message, 84, 11) + u"." + Trimmed(message, 112, 11);
        ReadVersion(identity.versionText, identity.firmwareVersion);
    };

    if (maker == u"MOTOROLA" || Field(message, 21, 7) == u"Halvorn" || Field(message, 21, 7) == u"HALVORN") {
        identity.recognised = true;
        identity.model = OncoreModelFromNumber(Trimmed(message, 161, 11));
        if (identity.model == kModelUnknown) {
            // The brand's model names, in the order of their codes.
            const CString tail = Field(message, 161, message.GetLength());
            for (const ReceiverModelInfo& brand : ReceiverModels()) {
                if (brand.IsWqt() && tail.Find(brand.name) >= 0) {
                    identity.model = brand.code;
                    identity.plus = tail.Find(CString(brand.name) + u"+") >= 0;
                    break;
                }
            }
            if (identity.model != kModelUnknown) {
                identity.firmwareVersion = 0.0f;
                const CString revision = Trimmed(message, 112, 11);
                const int digit = revision.FindOneOf(u"0123456789");
                if (digit >= 0) {
                    ReadVersion(revision.Mid(digit), identity.firmwareVersion);
                }
            } else {
                identity.model = 5;
            }
        }
        standardVersion();
    } else if (Field(message, 15, 4) == u"SiRF") {
        identity.recognised = true;
        identity.model = 5;
        standardVersion();
    } else if (Field(message, 26, 7) == u"i-LOTUS") {
        identity.recognised = true;
        identity.model = 20;
        identity.versionText = Trimmed(message, 83, 11) + u"." + Trimmed(message, 112, 11);
        ReadVersion(Field(identity.versionText, 3, 3), identity.firmwareVersion);
    } else if (maker == u"CONEXANT") {
        identity.recognised = true;
        identity.model = 17;
        standardVersion();
    } else if (maker == u"SIGNAV  ") {
        identity.recognised = true;
        identity.model = 18;
        standardVersion();
    }
    return identity;
}

void OncoreDecoder::DecodeCj(const OncoreMessage& m, Texts& t) {
    t.text = m.Text();
    m_view.SetReceiverPlusModel(FALSE);
    const OncoreIdentity identity = IdentifyOncoreReceiver(m.Text(), m_view.GetFirmwareVersion());
    if (identity.recognised) {
        m_view.SetReceiverModel(identity.model);
        m_view.SetVersionText(identity.versionText);
        m_view.SetFirmwareVersion(identity.firmwareVersion);
        if (identity.plus) {
            m_view.SetReceiverPlusModel(TRUE);
        }
    }
}
