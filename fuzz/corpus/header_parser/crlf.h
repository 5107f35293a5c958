class X : Y {
  int a, b; unsigned long (*fp)(int);
  operator bool() const;
  X& operator=(const X&);
};
