#include "dialogs/CManualCommandDialog.h"

#include "dialogs/DialogCommandSender.h"
#include "platform/framework/CWinApp.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

BEGIN_MESSAGE_MAP(CManualCommandDialog, CPersistentDialog)
ON_CBN_SELCHANGE(CManualCommandDialog::kCommandListId, OnListSelChange)
ON_CBN_EDITCHANGE(CManualCommandDialog::kCommandListId, OnListEditChange)
ON_EN_CHANGE(CManualCommandDialog::kPrefixId, OnFieldChange)
ON_EN_CHANGE(CManualCommandDialog::kParametersId, OnFieldChange)
ON_BN_CLICKED(CManualCommandDialog::kSendId, OnSend)
END_MESSAGE_MAP()

namespace {

bool IsBinaryMode(int mode) {
    return mode == kModeMotorolaBinary || mode == kModeMotorolaRxOnly;
}

bool IsUbloxMode(int mode) {
    return mode == kModeUbloxUbx || mode == kModeUbloxNmea;
}

bool StartsWith(const CString& text, LPCTSTR prefix) {
    return text.str().starts_with(prefix);
}

BYTE XorOf(const CString& text, int first) {
    BYTE sum = 0;
    for (int i = first; i < text.GetLength(); ++i) {
        sum ^= static_cast<BYTE>(text[i]);
    }
    return sum;
}

CString Hex2(unsigned value) {
    CString text;
    text.Format(u"%02.2X", value);
    return text;
}

} // namespace

CManualCommandDialog::CManualCommandDialog(DialogCommandSender* sender, CWnd* pParent)
    : CPersistentDialog(IDD, pParent), m_sender(sender) {
    m_choice.table = g_motorolaBinaryCommandTable;
    m_choice.tableRows = 102;
}

BOOL CManualCommandDialog::Create(CWnd* pParentWnd) {
    return CPersistentDialog::Create(IDD, pParentWnd);
}

BOOL CManualCommandDialog::OnInitDialog() {
    m_commandList.SubclassDlgItem(kCommandListId, this);
    CPersistentDialog::OnInitDialog();
    ChooseTable();
    return TRUE;
}

void CManualCommandDialog::ChooseTable() {
    m_choice = ChooseManualCommandTable(g_receiverIdentity.model, g_interfaceMode);
    m_listNames.clear();
    for (int row : m_choice.offeredRows) {
        m_listNames.emplace_back(m_choice.table[row].name);
    }
    if (!m_commandList.GetSafeHwnd()) {
        return;
    }
    m_commandList.ResetContent();
    for (const CString& name : m_listNames) {
        m_commandList.AddString(name);
    }
    if (m_choice.listLimit > 0) {
        m_commandList.LimitText(m_choice.listLimit);
        SendDlgItemMessageW(kPrefixId, EM_LIMITTEXT, static_cast<WPARAM>(m_choice.prefixLimit), 0);
    }
}

void CManualCommandDialog::SetField(UINT id, CString& member, const CString& value) {
    member = value;
    if (GetSafeHwnd()) {
        SetDlgItemTextW(static_cast<int>(id), value);
    }
}

void CManualCommandDialog::ReadFields() {
    if (GetSafeHwnd()) {
        GetDlgItemTextW(kPrefixId, m_prefix);
        GetDlgItemTextW(kParametersId, m_parameters);
        GetDlgItemTextW(kChecksumId, m_checksum);
    }
}

void CManualCommandDialog::SelectCommand(const CString& text) {
    m_commandText = text;
    const ManualCommandEntry* row = nullptr;
    for (int index : m_choice.offeredRows) {
        if (text == m_choice.table[index].name) {
            row = &m_choice.table[index];
            break;
        }
    }
    m_filling = true;
    if (row) {
        SetField(kDescriptionId, m_description, row->description);
        SetField(kPrefixId, m_prefix, row->sendTemplate);
        SetField(kParametersId, m_parameters, row->defaultParameters);
    } else {
        SetField(kDescriptionId, m_description, CString());
        SetField(kPrefixId, m_prefix, text);
        SetField(kParametersId, m_parameters, CString());
    }
    m_filling = false;
    UpdatePreview();
}

BOOL CManualCommandDialog::TryParseHex(const CString& text, CString& bytes) {
    CString digits;
    for (int i = 0; i < text.GetLength(); ++i) {
        const TCHAR c = text[i];
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            continue;
        }
        digits += (c >= u'a' && c <= u'z') ? static_cast<TCHAR>(c - u'a' + u'A') : c;
    }
    for (int i = 0; i < digits.GetLength(); ++i) {
        const TCHAR c = digits[i];
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) {
            return FALSE;
        }
    }
    if (digits.GetLength() % 2 != 0) {
        digits.Insert(0, u'0');
    }
    for (int i = 0; i < digits.GetLength(); i += 2) {
        auto value = [](TCHAR c) { return c <= u'9' ? c - u'0' : c - u'A' + 10; };
        bytes += static_cast<TCHAR>(value(digits[i]) * 16 + value(digits[i + 1]));
    }
    return TRUE;
}

BOOL CManualCommandDialog::ParseHex(const CString& text, CString& bytes) {
    if (!TryParseHex(text, bytes)) {
        ShowMessage(u"Illegal HEX character in parameter field.");
        return FALSE;
    }
    return TRUE;
}

CString CManualCommandDialog::TkTail(const CString& data) {
    unsigned sum = 0;
    for (int i = 0; i < data.GetLength(); ++i) {
        sum += data[i];
    }
    CString tail(static_cast<TCHAR>(0xFF));
    tail += static_cast<TCHAR>(((sum + 256) >> 8) & 0xFF);
    tail += static_cast<TCHAR>(sum & 0xFF);
    return tail;
}

BOOL CManualCommandDialog::UpdatePreview() {
    ReadFields();
    const int mode = g_interfaceMode;
    CString shown;
    if (IsBinaryMode(mode)) {
        if (m_prefix.GetLength() > 3 && StartsWith(m_prefix, u"@@")) {
            CString message = m_prefix;
            if (StartsWith(m_prefix, u"@@Tk")) {
                const CString tail = TkTail(m_parameters);
                message += m_parameters + tail;
                for (int i = 0; i < tail.GetLength(); ++i) {
                    shown += Hex2(tail[i]);
                }
            } else if (!ParseHex(m_parameters, message)) {
                SetField(kChecksumId, m_checksum, CString());
                return FALSE;
            }
            shown += Hex2(XorOf(message, 0));
        }
    } else if (IsUbloxMode(mode)) {
        CString bytes;
        if (m_prefix.GetLength() > 11 && StartsWith(m_prefix, u"B562") &&
            ParseHex(m_prefix + m_parameters, bytes)) {
            BYTE a = 0;
            BYTE b = 0;
            for (int i = 2; i < bytes.GetLength(); ++i) {
                a = static_cast<BYTE>(a + bytes[i]);
                b = static_cast<BYTE>(b + a);
            }
            shown.Format(u"%2.2X%2.2X", a, b);
        }
    } else {
        CString message = m_prefix + m_parameters;
        if (message.GetLength() > 4 && StartsWith(message, u"$")) {
            if (message[message.GetLength() - 3] == u'*') {
                message = message.Left(message.GetLength() - 3);
            }
            shown.Format(u"*%2.2X", XorOf(message, 1));
        }
    }
    SetField(kChecksumId, m_checksum, shown);
    return shown.IsEmpty() ? FALSE : TRUE;
}

void CManualCommandDialog::SendCommand() {
    ReadFields();
    const CString refused = u"Improperly formed message, cannot send.";
    if (m_checksum.IsEmpty()) {
        ShowMessage(refused);
        return;
    }
    const int mode = g_interfaceMode;
    CString message;
    if (IsBinaryMode(mode)) {
        message = m_prefix;
        if (StartsWith(m_prefix, u"@@Tk")) {
            message += m_parameters + TkTail(m_parameters);
        } else if (!ParseHex(m_parameters, message)) {
            SetField(kChecksumId, m_checksum, CString());
            ShowMessage(refused);
            return;
        }
    } else if (IsUbloxMode(mode)) {
        CString parameters;
        if (ParseHex(m_prefix, message) && ParseHex(m_parameters, parameters)) {
            message += parameters;
        } else {
            message.Empty();
        }
        if (message.IsEmpty()) {
            ShowMessage(refused);
            return;
        }
    } else {
        message = m_prefix + m_parameters;
        const bool nmea = message.GetLength() >= 6 && StartsWith(message, u"$");
        const bool bracket = message.GetLength() >= 4 && StartsWith(message, u">");
        if (!nmea && !bracket) {
            ShowMessage(refused);
            return;
        }
    }
    if (m_sender) {
        m_sender->Send(message);
    }
}

void CManualCommandDialog::ShowMessage(const CString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

void CManualCommandDialog::OnListSelChange() {
    const int index = m_commandList.GetCurSel();
    if (index == CB_ERR) {
        return;
    }
    CString text;
    m_commandList.GetLBText(index, text);
    SelectCommand(text);
}

void CManualCommandDialog::OnListEditChange() {
    CString text;
    m_commandList.GetWindowTextW(text);
    SelectCommand(text);
}

void CManualCommandDialog::OnFieldChange() {
    if (!m_filling) {
        UpdatePreview();
    }
}
