// Resource ids of the camera window.
#pragma once

#define IDR_CAMERA_MENU             131     // the camera view's context menu
#define IDS_WIREFRAME_WINDOW        703

#define ID_CAMERA_FLAT              32923
#define ID_CAMERA_FAST_TMAPPING     32924
#define ID_CAMERA_ACCURATE_TMAPPING 32925
#define ID_CAMERA_WIREFRAME         32926
#define ID_CAMERA_TEXTURED          32927
#define ID_TOGGLE_FACE_MODE         33003
#ifndef ID_VIEW_TEXTURE_ADJUST
#define ID_VIEW_TEXTURE_ADJUST      32777
#endif

// The 2D frames' toolbar combo boxes, disabled while a camera window is active.
#define ID_COMBO_FIRST              32950
#define ID_COMBO_LAST               32953
