/* The chart's resource ids: its strings, pattern and placeholder bitmaps. Plain C, read by the resource
   script too. */
#pragma once

/* Texts of the template reader and the dynamic data buffer. */
#define IDS_SRG_TEMPLATE_SYNTAX 21601
#define IDS_SRG_TEMPLATE_NOT_FOUND 21602
#define IDS_SRG_TEMPLATE_LOCK 21603
#define IDS_SRG_HILO_ALLOCATION 21604
#define IDS_SRG_DYNAMIC_ALLOCATION 21605
#define IDS_SRG_DYNAMIC_REALLOCATION 21606
#define IDS_SRG_LEGEND_MISSING_TEXT 21608

/* Bitmaps: the 8 by 8 shading patterns, the display's placeholder and the picture fill's fallback. */
#define IDB_SRG_CHECKER 21557
#define IDB_SRG_SPARSE_TOP 21558
#define IDB_SRG_SPARSE_SIDE 21559
#define IDB_SRG_PLACEHOLDER 21560
#define IDB_SRG_SHADOW 21561
#define IDB_SRG_NO_PICTURE 21609

/* The exception's default text, the component type names and the symbol names. */
#define IDS_SRG_UNDEFINED_EXCEPTION 53517
#define IDS_SRG_TYPE_COMPONENT 53526
#define IDS_SRG_TYPE_BACKGROUND 53527
#define IDS_SRG_TYPE_DISPLAY 53528
#define IDS_SRG_TYPE_TITLE 53529
#define IDS_SRG_TYPE_LEGEND 53530
#define IDS_SRG_TYPE_LABEL 53531
#define IDS_SRG_TYPE_LABEL_BLOCK 53532
#define IDS_SRG_TYPE_TEXT_PANEL 53533
#define IDS_SRG_TYPE_DATA_WATCHER 53534
#define IDS_SRG_TYPE_COMPOUND 53535
#define IDS_SRG_TYPE_COMPOUND_DISPLAY 53537
#define IDS_SRG_TYPE_AXIS_MANAGER 53538
#define IDS_SRG_TYPE_GRID_LINES 53539
#define IDS_SRG_TYPE_TICK_MARKS 53540
#define IDS_SRG_TYPE_DECIMAL_SCALE 53541
#define IDS_SRG_TYPE_LOG_SCALE 53542
#define IDS_SRG_TYPE_INDEX_SCALE 53543
#define IDS_SRG_TYPE_GROUP_SCALE 53544
#define IDS_SRG_TYPE_DATE_SCALE 53545
#define IDS_SRG_SYMBOL_FIRST 53546
