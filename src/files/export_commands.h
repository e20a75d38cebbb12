// Taking the displayed image out of the program: Copy, Print and Print setup.
#pragma once

void CmCopy();
void CmPrint();
void CmPrintSetup();
// Copy is enabled while a bitmap is displayed.
bool CeCopy();
