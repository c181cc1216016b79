// "Manual Commands": the user picks a receiver command from the table for the receiver in use (or types
// one), edits its prefix and parameters, sees the checksum the message will carry, and sends it through the
// view. Modeless; "Close" only hides it. The logic works on the text members, so that it runs without a
// window too; with a window the members follow the controls.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "appframe/CaseSensitiveComboBox.h"
#include "dialogs/ManualCommandTables.h"
#include "resources/Resource.h"

#include <vector>

class DialogCommandSender;

class CManualCommandDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_MANUAL_COMMAND };
    enum : UINT {
        kSendId = 4,
        kCommandListId = 1159,
        kParametersId = 1160,
        kPrefixId = 1161,
        kChecksumId = 1162,
        kDescriptionId = 1163,
    };

    explicit CManualCommandDialog(DialogCommandSender* sender, CWnd* pParent = nullptr);

    // The modeless window from the template.
    using CPersistentDialog::Create;
    BOOL Create(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;
    // The table and the typing limits for the receiver in use (g_receiverIdentity, g_interfaceMode); the
    // list is filled anew.
    void ChooseTable();
    // The row named exactly (case counts) fills the fields; any other text becomes the prefix.
    void SelectCommand(const CString& text);
    // The checksum field for the prefix and parameters; FALSE (and an empty field) when the message cannot
    // be sent.
    BOOL UpdatePreview();
    void SendCommand();

    // Blanks, tabs and line ends are ignored, an odd count gets a leading 0; FALSE at a character that is
    // no hexadecimal digit (ParseHex also tells the user).
    static BOOL TryParseHex(const CString& text, CString& bytes);
    BOOL ParseHex(const CString& text, CString& bytes);

    const ManualCommandChoice& Choice() const { return m_choice; }
    const std::vector<CString>& ListNames() const { return m_listNames; }

    CString m_commandText;
    CString m_prefix;
    CString m_parameters;
    CString m_description;
    CString m_checksum;

protected:
    virtual void ShowMessage(const CString& text);

private:
    // "@@Tk" carries its data as text, then 0xFF and the data's sum in two bytes.
    static CString TkTail(const CString& data);
    void SetField(UINT id, CString& member, const CString& value);
    void ReadFields();

    void OnListSelChange();
    void OnListEditChange();
    void OnFieldChange();
    void OnSend() { SendCommand(); }

    DialogCommandSender* m_sender;
    ManualCommandChoice m_choice;
    std::vector<CString> m_listNames;
    CCaseSensitiveComboBox m_commandList;
    // Set while the fields are filled from a row, so that their change notices wait for the whole row.
    bool m_filling = false;

    DECLARE_MESSAGE_MAP()
};
