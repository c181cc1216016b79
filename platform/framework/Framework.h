// The application framework in one include.
#pragma once

#include "platform/framework/AfxRes.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"
