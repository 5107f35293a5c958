int main()
{
    CView* pView = 0;
    return 0;
}
