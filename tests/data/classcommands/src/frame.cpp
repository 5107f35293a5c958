// Calls a function of the same name on something that is no view.
void CFrame::Show()
{
    m_pPainter->OnDraw(0);
}
