-- Asynchronous FIFO core of the fifo_async IP. Generics and ports follow the
-- component file; the generated wrapper instantiates this entity.
--
-- Each side keeps a binary pointer one bit wider than the address and a Gray-coded
-- copy of it; only the Gray copy crosses to the other clock, through SYNC_STAGES
-- flip-flops, so a pointer sampled mid-change is off by at most one step and the
-- flags err on the safe side (full and empty may linger, never come late).
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity fifo_async_core is
    generic (
        DATA_WIDTH  : positive range 1 to 512 := 16;
        -- a power of two: the pointers wrap by overflowing
        DEPTH       : positive range 16 to 32768 := 256;
        -- flip-flops that carry each pointer into the other clock domain
        SYNC_STAGES : positive range 2 to 8 := 2
    );
    port (
        wr_clk : in  std_logic;
        wr_rst : in  std_logic;
        wr_en  : in  std_logic;
        din    : in  std_logic_vector(DATA_WIDTH - 1 downto 0);
        full   : out std_logic;
        rd_clk : in  std_logic;
        rd_rst : in  std_logic;
        rd_en  : in  std_logic;
        dout   : out std_logic_vector(DATA_WIDTH - 1 downto 0);
        empty  : out std_logic
    );
end entity;

architecture rtl of fifo_async_core is
    constant AW : natural := integer(ceil(log2(real(DEPTH))));
    subtype ptr_t is unsigned(AW downto 0);
    type mem_t is array (0 to DEPTH - 1) of std_logic_vector(DATA_WIDTH - 1 downto 0);
    -- Synchronizer chains; element SYNC_STAGES-1 is the one the other side uses.
    type sync_t is array (0 to SYNC_STAGES - 1) of ptr_t;

    function to_gray(b : ptr_t) return ptr_t is
    begin
        return b xor shift_right(b, 1);
    end function;

    signal mem                    : mem_t;
    signal wr_bin, wr_gray        : ptr_t := (others => '0');
    signal rd_bin, rd_gray        : ptr_t := (others => '0');
    signal rd_gray_sync           : sync_t := (others => (others => '0'));
    signal wr_gray_sync           : sync_t := (others => (others => '0'));
    signal full_i, empty_i        : std_logic;
    signal wr_bin_next, rd_bin_next : ptr_t;
    signal dout_r                 : std_logic_vector(DATA_WIDTH - 1 downto 0) := (others => '0');
begin
    assert 2 ** AW = DEPTH report "fifo_async_core: DEPTH must be a power of two" severity failure;

    wr_bin_next <= wr_bin + 1 when wr_en = '1' and full_i = '0' else wr_bin;
    rd_bin_next <= rd_bin + 1 when rd_en = '1' and empty_i = '0' else rd_bin;

    -- Full: the write pointer is one lap ahead, which in Gray code means the two top
    -- bits inverted and the rest equal.
    full_i  <= '1' when wr_gray = (not rd_gray_sync(SYNC_STAGES - 1)(AW downto AW - 1)
                                   & rd_gray_sync(SYNC_STAGES - 1)(AW - 2 downto 0)) else '0';
    empty_i <= '1' when rd_gray = wr_gray_sync(SYNC_STAGES - 1) else '0';
    full    <= full_i;
    empty   <= empty_i;
    dout    <= dout_r;

    process (wr_clk)
    begin
        if rising_edge(wr_clk) then
            if wr_rst = '1' then
                wr_bin       <= (others => '0');
                wr_gray      <= (others => '0');
                rd_gray_sync <= (others => (others => '0'));
            else
                if wr_en = '1' and full_i = '0' then
                    mem(to_integer(wr_bin(AW - 1 downto 0))) <= din;
                end if;
                wr_bin       <= wr_bin_next;
                wr_gray      <= to_gray(wr_bin_next);
                rd_gray_sync <= rd_gray & rd_gray_sync(0 to SYNC_STAGES - 2);
            end if;
        end if;
    end process;

    process (rd_clk)
    begin
        if rising_edge(rd_clk) then
            if rd_rst = '1' then
                rd_bin       <= (others => '0');
                rd_gray      <= (others => '0');
                wr_gray_sync <= (others => (others => '0'));
            else
                if rd_en = '1' and empty_i = '0' then
                    dout_r <= mem(to_integer(rd_bin(AW - 1 downto 0)));
                end if;
                rd_bin       <= rd_bin_next;
                rd_gray      <= to_gray(rd_bin_next);
                wr_gray_sync <= wr_gray & wr_gray_sync(0 to SYNC_STAGES - 2);
            end if;
        end if;
    end process;
end architecture;
