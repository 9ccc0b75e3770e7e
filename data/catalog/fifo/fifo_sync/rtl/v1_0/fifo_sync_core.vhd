-- Synchronous FIFO core of fifo_sync 1.0. Generics and ports follow that version's
-- component file; the generated wrapper instantiates this entity. Version 2.1 keeps its
-- own core one directory up.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity fifo_sync_core is
    generic (
        DATA_WIDTH : positive range 1 to 256 := 8;
        -- a power of two: the pointers wrap by overflowing
        DEPTH      : positive range 16 to 4096 := 512
    );
    port (
        clk   : in  std_logic;
        rst   : in  std_logic;
        wr_en : in  std_logic;
        din   : in  std_logic_vector(DATA_WIDTH - 1 downto 0);
        full  : out std_logic;
        rd_en : in  std_logic;
        dout  : out std_logic_vector(DATA_WIDTH - 1 downto 0);
        empty : out std_logic
    );
end entity;

architecture rtl of fifo_sync_core is
    constant AW : natural := integer(ceil(log2(real(DEPTH))));
    type mem_t is array (0 to DEPTH - 1) of std_logic_vector(DATA_WIDTH - 1 downto 0);
    signal mem     : mem_t;
    -- One bit wider than the address, so that full and empty differ.
    signal wr_ptr  : unsigned(AW downto 0) := (others => '0');
    signal rd_ptr  : unsigned(AW downto 0) := (others => '0');
    signal count   : unsigned(AW downto 0);
    signal dout_r  : std_logic_vector(DATA_WIDTH - 1 downto 0) := (others => '0');
    signal full_i  : std_logic;
    signal empty_i : std_logic;
begin
    assert 2 ** AW = DEPTH report "fifo_sync_core: DEPTH must be a power of two" severity failure;

    count   <= wr_ptr - rd_ptr;
    full_i  <= '1' when count = DEPTH else '0';
    empty_i <= '1' when count = 0 else '0';
    full    <= full_i;
    empty   <= empty_i;
    dout    <= dout_r;

    -- dout follows a read one clock later. A write when full and a read when empty are
    -- ignored.
    process (clk)
    begin
        if rising_edge(clk) then
            if rst = '1' then
                wr_ptr <= (others => '0');
                rd_ptr <= (others => '0');
            else
                if wr_en = '1' and full_i = '0' then
                    mem(to_integer(wr_ptr(AW - 1 downto 0))) <= din;
                    wr_ptr <= wr_ptr + 1;
                end if;
                if rd_en = '1' and empty_i = '0' then
                    dout_r <= mem(to_integer(rd_ptr(AW - 1 downto 0)));
                    rd_ptr <= rd_ptr + 1;
                end if;
            end if;
        end if;
    end process;
end architecture;
