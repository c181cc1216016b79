// The receiver type dialog of the receive-only Motorola mode: the program cannot ask the receiver who it
// is, so the user names its family and firmware range, and the identity record is built from that choice.
// The choice is kept in "Oncore Id Dialog".
#pragma once

#include "appframe/CPersistentDialog.h"
#include "receiver/ReceiverIdentity.h"
#include "resources/Resource.h"

class COncoreIdDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_ONCORE_ID };
    static constexpr int kChoiceCount = 11;
    // The radio buttons in group order, choice 0 first.
    static constexpr UINT kChoiceIds[kChoiceCount] = {1199, 1225, 1226, 1200, 1201, 1202,
                                                      1203, 1204, 1205, 1206, 1207};

    explicit COncoreIdDialog(CWnd* pParent = nullptr);

    void DoDataExchange(CDataExchange* pDX) override;
    // The identity of a choice; an index outside 0-10 gives the UT+ of firmware 2.0.
    static ReceiverIdentity IdentityForChoice(int index);
    void BuildIdentity() { m_identity = IdentityForChoice(m_choiceIndex); }
    // TRUE when the identity has a version above 0.
    BOOL GetIdentity(ReceiverIdentity& identity) const;
    // Builds the identity from the choice and stores the choice; FALSE leaves the dialog open.
    BOOL ConfirmChoice();

    int m_choiceIndex = -1;
    ReceiverIdentity m_identity;

protected:
    void OnOK() override;
};
