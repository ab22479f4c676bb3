// Resource ids of the views' test program.
#pragma once
#define IDR_VIEWS_TEST_MAIN 9100
#define IDR_VIEWS_TEST_MAP  9101
