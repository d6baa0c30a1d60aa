#pragma once
// The ids of the settings dialog, its controls and its pictures, shared by the resource
// script and the code. Plain macros because the resource compiler reads this file too.

#define DLG_SETTINGS 101
#define ICON_PROGRAM 102
#define BMP_SIDE_PICTURE 104
#define BMP_BROWSE 106
#define BMP_REFRESH 120

// Buttons
#define CTL_OK 1
#define CTL_CANCEL 2
#define CTL_REFRESH 3
#define CTL_HELP 9
#define CTL_BROWSE 1016
#define CTL_RELEASE_NOTES 1027

// Fields
#define CTL_PRODUCT_LINE 1000
#define CTL_RELEASE 1001
#define CTL_INSTALL_MODE 1004
#define CTL_SITE 1006
#define CTL_INSTALL_DIR 1007
#define CTL_PASSWORD 1009
#define CTL_USER_NAME 1010
#define CTL_DOMAIN 1013
#define CTL_VERSION 1015
#define CTL_REPAIR_ONLY 1020
#define CTL_OFFLINE_HELP 1021
#define CTL_DEMO 1022
#define CTL_UPDATE_MODE 1025
#define CTL_LANGUAGE 1029
#define CTL_COUNTRY 1031
#define CTL_STATUS_NOTICE 1040
#define CTL_VIRTUAL_DIR 1044
#define CTL_NO_CHECK 1047

// Labels, the frame and the side picture
#define CTL_SITE_LABEL 1005
#define CTL_USER_NAME_LABEL 1008
#define CTL_PASSWORD_LABEL 1011
#define CTL_INSTALL_DIR_LABEL 1012
#define CTL_PRODUCT_LINE_LABEL 1017
#define CTL_RELEASE_LABEL 1018
#define CTL_INSTALL_MODE_LABEL 1019
#define CTL_DOMAIN_LABEL 1024
#define CTL_UPDATE_MODE_LABEL 1026
#define CTL_LANGUAGE_LABEL 1028
#define CTL_COUNTRY_LABEL 1030
#define CTL_FRAME 1039
#define CTL_VIRTUAL_DIR_LABEL 1046
#define CTL_SIDE_PICTURE -1

// The dialog's result when the registry is too small, besides OK (1) and Cancel (2).
#define SETTINGS_REGISTRY_TOO_SMALL 3
