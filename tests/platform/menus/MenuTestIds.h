// Ids of the menu tests' resource script.
#pragma once

#define IDR_MENUFRAME 200
#define IDR_CONTEXT 201

#define ID_APP_CMD 40001
#define ID_FRAME_CMD 40002
#define ID_NO_HANDLER 40003
#define ID_DOC_CMD 40004
#define ID_VIEW_CMD 40005
#define ID_SHARED_CMD 40006
#define ID_DISABLED_UI 40007
#define ID_CHECKED_UI 40008
#define ID_DEEP_CMD 40009
#define ID_CTX_OPEN 40010
#define ID_CTX_COPY 40011
#define ID_CTX_GRAYED 40012
